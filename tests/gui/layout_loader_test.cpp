// Layout files: loading a node of a file under a given parent or at the top level, missing
// files and nodes, Includes and the limits on nesting and cycles, a document and start node
// given by the caller, and paths written with backslashes.
#include "layout_fixture.h"

namespace {

typedef LayoutTest LayoutLoader;

TEST_F(LayoutLoader, BuildsInsideAGivenParent) {
  Write("<L><Control Name=\"a\"/><Control Name=\"b\"/></L>");
  CONTROL* host = Add("host", nullptr);
  ASSERT_TRUE(Load("L", host));
  ASSERT_NE(Named("a"), nullptr);
  EXPECT_EQ(Named("a")->GetParent(), host);
  EXPECT_EQ(Kids(host).size(), 2u);
}

TEST_F(LayoutLoader, FailsWithoutFileOrNodeAndBuildsNothing) {
  EXPECT_FALSE(Load("L"));  // no file written yet
  Write("");
  EXPECT_FALSE(Load("L"));
  Write("<L><Control Name=\"a\"/></L>");
  EXPECT_FALSE(Load("Missing"));
  EXPECT_FALSE(Load("L/Control/Deeper"));
  EXPECT_FALSE(KvGuiLoadLayout(nullptr, "L", procedures, icons, *gui, nullptr, nullptr, nullptr));
  EXPECT_FALSE(
      KvGuiLoadLayout(path.c_str(), nullptr, procedures, icons, *gui, nullptr, nullptr, nullptr));
  EXPECT_EQ(Count(&gui->tree), 0);
  // Malformed markup is read forgivingly; what is not an element builds nothing.
  Write("<L>just text<Control Name=\"ok\"/> <<>> <Broken");
  EXPECT_TRUE(Load("L"));
  EXPECT_NE(Named("ok"), nullptr);
}

TEST_F(LayoutLoader, IncludesReadTheirFileAfreshAndStopAtCycles) {
  std::string other = path + ".other";
  Write("<Part><Control Name=\"fromOther\"/><Include Node=\"Back\" File=\"" + path + "\"/></Part>",
        other);
  Write("<L><Include Node=\"Self\"/><Include File=\"" + other +
        "\" Node=\"Part\"/>"
        "<Include File=\"/no/such/file\" Node=\"X\"/><Include File=\"" +
        other +
        "\"/></L>"
        "<Self><Control Name=\"fromSelf\"/><Include Node=\"Self\"/></Self>"
        "<Back><Control Name=\"back\"/><Include Node=\"L\"/></Back>");
  ASSERT_TRUE(Load("L"));
  EXPECT_NE(Named("fromSelf"), nullptr);
  EXPECT_NE(Named("fromOther"), nullptr);
  EXPECT_NE(Named("back"), nullptr);
  // Each node was built once: the cycles back to Self and to L built nothing more.
  EXPECT_EQ(Count(&gui->tree), 3);
  std::remove(other.c_str());
}

TEST_F(LayoutLoader, DeepNestingIsCutOff) {
  std::string text = "<L>";
  for (int i = 0; i < 500; ++i) text += "<Control>";
  Write(text);
  ASSERT_TRUE(Load("L"));
  int count = Count(&gui->tree);
  EXPECT_GT(count, 32);
  EXPECT_LT(count, 500);
}

TEST_F(LayoutLoader, DocumentAndStartNodeGivenByTheCaller) {
  KV_XML document;
  const char text[] = "<L><Control Name=\"given\"/></L>";
  ASSERT_TRUE(document.Parse(text, sizeof(text) - 1, " \t\n\r", true));
  KV_XML::ITERATOR start = document.Find("L", 2, nullptr);
  ASSERT_FALSE(start.IsEnd());
  EXPECT_TRUE(
      KvGuiLoadLayout(nullptr, nullptr, procedures, icons, *gui, start.Get(), nullptr, &document));
  EXPECT_NE(Named("given"), nullptr);
}

// The path written the Windows way, with "\" for every "/".
std::string Backslashed(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

TEST_F(LayoutLoader, PathsWrittenWithBackslashesAreReadWithSlashes) {
  std::string other = path + ".other.xml";
  Write(R"(<O><Control Name="included"/></O>)", other);
  Write("<L><Control Name=\"top\"/><Include File=\"" + Backslashed(other) + "\" Node=\"O\"/></L>");
  EXPECT_TRUE(KvGuiLoadLayout(Backslashed(path).c_str(), "L", procedures, icons, *gui, nullptr,
                              nullptr, nullptr));
  EXPECT_NE(Named("top"), nullptr);
  EXPECT_NE(Named("included"), nullptr);
  std::remove(other.c_str());
}

TEST_F(LayoutLoader, ANodeIncludingItselfWithBackslashesIsOneCycle) {
  Write("<L><Control/><Include File=\"" + Backslashed(path) + "\" Node=\"L\"/></L>");
  ASSERT_TRUE(Load("L"));
  EXPECT_EQ(Count(&gui->tree), 1);
}

}  // namespace
