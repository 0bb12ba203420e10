// Every container instance whose element type the foundation itself provides is
// instantiated whole here, so a template member that does not compile for one of
// them fails the build rather than its first caller.
#include "engine/kv_engine.h"
#include "engine/kv_array.h"
#include "foundation/buffer.h"
#include "foundation/dictionary.h"
#include "foundation/list.h"
#include "foundation/string.h"
#include "foundation/vector.h"
#include "foundation/virtual_file.h"
#include "foundation/xml.h"

#include <gtest/gtest.h>

#include <cstring>

template struct KV_LIST<KV_STRING>;
template struct KV_LIST<unsigned char>;
template struct KV_LIST<unsigned int>;
template struct KV_LIST<KV_KEY>;
template struct KV_LIST_ITERATOR<unsigned char>;
template struct KV_DICTIONARY<KV_STRING>;
template struct KV_ARRAY<unsigned char>;
template struct KV_ARRAY<unsigned int>;
template struct KV_ARRAY<KV_VECTOR>;
template struct KV_ARRAY<KV_VECTOR_D>;
template struct KV_ARRAY<KV_STRING>;
template struct KV_ARRAY<KV_LIST_ITERATOR<unsigned int>>;
template struct KV_LIST<KV_XML_ATTRIBUTE>;
template struct KV_LIST<KV_TREE<KV_XML_NODE>>;
template struct KV_TREE<KV_XML_NODE>;
template struct KV_LIST<KV_HANDLE>;
template struct KV_DICTIONARY<KV_HANDLE>;
template struct KV_ARRAY<KV_VERTEX>;
template struct KV_ARRAY<KV_VIRTUAL_FILE_ENTRY>;
template struct KV_ARRAY<KV_BUFFER>;
template struct KV_ARRAY<KV_VIRTUAL_FILE_DATA>;

TEST(Instantiations, FallbacksAreTheDefaultValues) {
  KV_ARRAY<KV_VECTOR> vectors(2);
  EXPECT_EQ(vectors.Get(9)->w, 1.0f);
  EXPECT_EQ(vectors.Get(1)->w, 1.0f);
  KV_ARRAY<KV_VECTOR_D> points;
  EXPECT_TRUE(*points.Get(0) == KV_VECTOR_D(0, 0, 0, 1));
  KV_ARRAY<unsigned int> indices(1);
  EXPECT_EQ(*indices.Get(3), 0u);
  EXPECT_EQ(indices.ByteSize(), 4u);
}

TEST(Instantiations, SkinIsADictionaryOfDictionaries) {
  KV_DICTIONARY<KV_DICTIONARY<KV_STRING>> skins;
  *skins.GetValue("dark")->GetValue("BarBackH") = "scroll";
  skins.Get("light");
  KV_DICTIONARY<KV_DICTIONARY<KV_STRING>> other;
  skins.MoveTo(other);
  EXPECT_STREQ(other.Find(1, "dark", 0)->Find(1, "BarBackH", 0)->c_str(), "scroll");
  EXPECT_EQ(other.CountName(nullptr), 2u);
}

TEST(Instantiations, ArchiveSaveRecordsCopyTheirBuffers) {
  // The records a sprite builds to save its frames: buffers and the named files that
  // point at them. Growing the arrays copies the buffers into blocks of their own.
  KV_ARRAY<KV_BUFFER> frames(1);
  frames.Get(0)->Write("rgba", 4);
  frames.ResizeKeep(2);
  frames.Get(1)->Write("xy", 2);
  KV_ARRAY<KV_VIRTUAL_FILE_DATA> files(2);
  for (unsigned int i = 0; i < files.Size(); ++i) {
    files.Get(i)->name += i;
    files.Get(i)->buffer = frames.Get(i);
  }
  files.ResizeKeep(3);
  ASSERT_EQ(frames.Get(0)->length, 4u);
  EXPECT_EQ(memcmp(frames.Get(0)->GetData(), "rgba", 4), 0);
  EXPECT_STREQ(files.Get(1)->name.c_str(), "1");
  EXPECT_EQ(files.Get(1)->buffer, frames.Get(1));
  EXPECT_EQ(files.Get(2)->buffer, nullptr);
  EXPECT_EQ(files.Get(7)->buffer, nullptr);
}

TEST(Instantiations, HandleListGivesTheNullHandleAtTheEnd) {
  KV_LIST<KV_HANDLE> frames;
  KV_HANDLE texture;
  texture.endFlag = 0;
  texture.value = 42;
  KV_LIST_ITERATOR<KV_HANDLE> it = frames.PushBack(texture);
  EXPECT_EQ(it.Handle().value, 42u);
  it.Next();
  EXPECT_TRUE(it.Handle().IsNull());
  EXPECT_EQ(it.Handle().endFlag, 1);
}
