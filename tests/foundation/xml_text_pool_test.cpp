// KV_XML_TEXT_POOL: the blocks a document's text lives in, kept by the thread for the next
// document. Documents alive side by side keep their own text whatever the others do; a block
// let go on another thread is that thread's to keep and goes when it ends; reading the same
// file again maps no fresh pages.
#include "foundation/xml.h"

#include <gtest/gtest.h>

#include <malloc.h>
#include <sys/resource.h>

#include <string>
#include <thread>
#include <vector>

namespace {

const char* const kBlanks = " \t\n\r";

// Markup of at least size bytes whose every name, value and text carries tag, so that two
// documents of different tags never read alike.
std::string Markup(const std::string& tag, size_t size) {
  std::string text = "<Root Of=\"" + tag + "\">\r\n";
  for (int i = 0; text.size() < size; ++i) {
    std::string n = std::to_string(i);
    text += "\t<Item" + tag + " Id=\"" + n + tag + "\" Kind=" + tag + ">Text " + tag + n +
            "</Item" + tag + ">\r\n";
  }
  return text + "</Root>\r\n";
}

bool Parse(KV_XML& xml, const std::string& text) {
  return xml.Parse(text.data(), (unsigned int)text.size(), kBlanks, true);
}

std::string Saved(const KV_XML& xml) {
  KV_ARRAY<unsigned char> out;
  if (!xml.Save(out)) return "<failed>";
  return std::string((const char*)out.data, out.Size());
}

// What a fresh document makes of text.
std::string SavedFresh(const std::string& text) {
  KV_XML xml;
  Parse(xml, text);
  return Saved(xml);
}

}  // namespace

// A block let go by one document is handed to the next one read: the documents still alive
// keep reading their own text, byte for byte, through every hand-over. Small documents and
// large ones (whose blocks are rounded to pages) alike.
TEST(XmlTextPool, DocumentsAliveSideBySideKeepTheirOwnText) {
  for (size_t size : {200u, 300000u}) {
    const std::string a = Markup("A", size), b = Markup("B", size), c = Markup("C", size);
    const std::string savedB = SavedFresh(b), savedC = SavedFresh(c);
    KV_XML* first = new KV_XML;
    KV_XML second;
    ASSERT_TRUE(Parse(*first, a));
    ASSERT_TRUE(Parse(second, b));
    delete first;
    // Likely in the block the first document let go.
    KV_XML third;
    ASSERT_TRUE(Parse(third, c));
    EXPECT_EQ(Saved(second), savedB);
    EXPECT_EQ(Saved(third), savedC);
    // Read again into a cleared document, twice over: its own old block comes back.
    for (int round = 0; round < 2; ++round) {
      second.Clear();
      ASSERT_TRUE(Parse(second, a + b));
      EXPECT_EQ(Saved(second), SavedFresh(a + b));
      EXPECT_EQ(Saved(third), savedC);
    }
  }
}

// A document destroyed on another thread gives its block to that thread, which frees it when it
// ends (the leak checker sees to that); a document read on a thread that has ended stays whole.
TEST(XmlTextPool, BlocksLetGoOnAnotherThreadStayThatThreads) {
  const std::string text = Markup("T", 100000);
  const std::string saved = SavedFresh(text);
  KV_XML* here = new KV_XML;
  ASSERT_TRUE(Parse(*here, text));
  std::thread([here] { delete here; }).join();

  KV_XML* there = nullptr;
  std::thread([&there, &text] {
    there = new KV_XML;
    Parse(*there, text);
  }).join();
  EXPECT_EQ(Saved(*there), saved);
  delete there;
  KV_XML again;
  ASSERT_TRUE(Parse(again, text));
  EXPECT_EQ(Saved(again), saved);
}

#if KV_NODE_POOL_ENABLED
namespace {

long MinorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

}  // namespace

// Reading a large document again and again touches the pages of the last read: no fresh page
// per read, where a block given back to the system would cost a thousand (4 MB of text alone),
// even when the heap's free pages go back to the system between reads. (Under AddressSanitizer every node is a fresh heap block and this does not hold.)
TEST(XmlTextPool, ReadingAgainMapsNoFreshPages) {
  const std::string text = Markup("P", 4u << 20);
  for (int i = 0; i < 3; ++i) {
    KV_XML xml;
    ASSERT_TRUE(Parse(xml, text));
  }
  const int kReads = 5;
  long before = MinorFaults();
  for (int i = 0; i < kReads; ++i) {
    {
      KV_XML xml;
      ASSERT_TRUE(Parse(xml, text));
    }
    // Hands every free page of the heap back to the system, as the allocator does on its own
    // when enough lies free at the top of the heap.
    malloc_trim(0);
  }
  long perRead = (MinorFaults() - before) / kReads;
  EXPECT_LT(perRead, 16) << "fresh pages per read";
}
#endif
