// The edit box factory.
#include "../composite_fixture.h"

namespace {

const KV_VECTOR POS(100, 100, 0, 1);

typedef CompositeTest EditBoxFactory;

TEST_F(EditBoxFactory, AFieldHoldingTheTextMaskedInPasswordMode) {
  CONTROL* edit = gui->CreateEditBox("sk", "e", POS, KV_VECTOR(100, 20, 0, 1), "abc", 1, nullptr);
  auto* field = dynamic_cast<KV_GUI::__edit*>(Part(edit, "editbox"));
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->Text, "***");
  EXPECT_EQ(field->TextLeft, "abc");
  EXPECT_EQ(field->Masked, 1);
  EXPECT_EQ(Styles(field), "BoxActive/BoxUnactive");
  edit = gui->CreateEditBox("sk", "e2", POS, KV_VECTOR(100, 20, 0, 1), "abc", 0, nullptr);
  EXPECT_EQ(Part(edit, "editbox")->Text, "abc");
}

}  // namespace
