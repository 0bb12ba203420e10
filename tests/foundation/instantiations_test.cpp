// Every container instance whose element type the foundation itself provides is
// instantiated whole here, so a template member that does not compile for one of
// them fails the build rather than its first caller.
#include "foundation/array.h"
#include "foundation/dictionary.h"
#include "foundation/list.h"
#include "foundation/string.h"
#include "foundation/vector.h"

#include <gtest/gtest.h>

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

TEST(Instantiations, FallbacksAreTheDefaultValues)
{
    KV_ARRAY<KV_VECTOR> vectors(2);
    EXPECT_EQ(vectors.Get(9)->w, 1.0f);
    EXPECT_EQ(vectors.Get(1)->w, 1.0f);
    KV_ARRAY<KV_VECTOR_D> points;
    EXPECT_TRUE(*points.Get(0) == KV_VECTOR_D(0, 0, 0, 1));
    KV_ARRAY<unsigned int> indices(1);
    EXPECT_EQ(*indices.Get(3), 0u);
    EXPECT_EQ(indices.ByteSize(), 4u);
}

TEST(Instantiations, SkinIsADictionaryOfDictionaries)
{
    KV_DICTIONARY<KV_DICTIONARY<KV_STRING>> skins;
    *skins.GetValue("dark")->GetValue("BarBackH") = "scroll";
    skins.Get("light");
    KV_DICTIONARY<KV_DICTIONARY<KV_STRING>> other;
    skins.MoveTo(other);
    EXPECT_STREQ(other.Find(1, "dark", 0)->Find(1, "BarBackH", 0)->c_str(), "scroll");
    EXPECT_EQ(other.CountName(nullptr), 2u);
}
