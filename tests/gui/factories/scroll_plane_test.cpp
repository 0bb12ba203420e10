// The scroll plane factory and the list box built as one: area, content, tracks and thumbs.
#include "../composite_fixture.h"

namespace {

const KV_VECTOR POS(100, 100, 0, 1);

typedef CompositeTest ScrollPlaneFactory;

TEST_F(ScrollPlaneFactory, ScrollPlaneAndListBox) {
  CONTROL* content =
      gui->CreateScrollPlane("sk", "sp", POS, KV_VECTOR(200, 100, 0, 1), KV_VECTOR(12, 10, 0, 1),
                             KV_VECTOR(400, 300, 0, 1), 1, 2, 3, 4, nullptr);
  EXPECT_EQ(Named("sp"), content);
  CONTROL* area = content->GetParent();
  EXPECT_EQ(area->GetTag(), "scrollarea");
  EXPECT_EQ(Tags(area), (std::vector<std::string>{"", "hscrollb", "vscrollb"}));
  EXPECT_EQ(Kids(area)[0], content);
  EXPECT_FLOAT_EQ(area->MarginRight, 12);
  EXPECT_FLOAT_EQ(area->CutMarginBottom, -10);
  EXPECT_EQ(content->Behaviour, KV_GUI::FIT_TO_EDGE);
  EXPECT_FLOAT_EQ(content->MarginLeft, 3);
  CONTROL* htrack = Part(area, "hscrollb");
  EXPECT_FLOAT_EQ(htrack->Size.y, 10);
  EXPECT_EQ(htrack->Behaviour,
            KV_GUI::DOCK_TO_EDGE_BOTTOM | KV_GUI::FIT_TO_EDGE_LEFT | KV_GUI::FIT_TO_EDGE_RIGHT);
  auto* hthumb = dynamic_cast<KV_GUI::__scroll*>(Part(htrack, "hscrollf"));
  ASSERT_NE(hthumb, nullptr);
  EXPECT_FLOAT_EQ(hthumb->ContentExtent, 400);
  EXPECT_EQ(Styles(hthumb), "BarFrontActiveH/BarFrontUnactiveH");
  CONTROL* vtrack = Part(area, "vscrollb");
  EXPECT_EQ(vtrack->Behaviour,
            KV_GUI::DOCK_TO_EDGE_RIGHT | KV_GUI::FIT_TO_EDGE_TOP | KV_GUI::FIT_TO_EDGE_BOTTOM);
  auto* vthumb = dynamic_cast<KV_GUI::__scroll*>(Part(vtrack, "vscrollf"));
  ASSERT_NE(vthumb, nullptr);
  EXPECT_FLOAT_EQ(vthumb->ContentExtent, 300);
  EXPECT_EQ(vthumb->Behaviour, KV_GUI::INHERIT_WIDTH);

  CONTROL* list =
      gui->CreateListBox("sk", "lb", POS, KV_VECTOR(200, 100, 0, 1), 14, 0, 0, 0, 0, nullptr);
  EXPECT_EQ(Named("lb"), list);
  EXPECT_EQ(list->GetTag(), "listbox");
  EXPECT_FLOAT_EQ(list->GetParent()->MarginRight, 14);
  EXPECT_FLOAT_EQ(Part(list->GetParent(), "hscrollb")->Size.y, 0);
  EXPECT_EQ(gui->controls.CountName(nullptr), 2u);  // the inner plane is filed under no name
}

}  // namespace
