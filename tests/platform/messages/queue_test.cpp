// The queue: messages taken one at a time in order, dispatch to the class procedure, the quit
// message last, and posting to unknown windows refused.
#include "platform/platform_fixture.h"

class Queue : public PlatformTest {};

TEST_F(Queue, PeekReturnsPostedMessagesOneAtATimeInOrder) {
  HWND hwnd = MakeWindow();
  ASSERT_TRUE(PostMessageA(hwnd, WM_APP + 1, 1, 10));
  ASSERT_TRUE(PostMessageA(hwnd, WM_APP + 2, 2, 20));
  ASSERT_TRUE(PostMessageA(nullptr, WM_APP + 3, 3, 30));
  MSG msg{};
  for (UINT i = 1; i <= 3; ++i) {
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_APP + i);
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(i));
    EXPECT_EQ(msg.lParam, static_cast<LPARAM>(i * 10));
    EXPECT_EQ(msg.hwnd, i == 3 ? nullptr : hwnd);
  }
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Queue, PeekWithoutRemoveLeavesTheMessageAndFiltersSelect) {
  HWND hwnd = MakeWindow();
  PostMessageA(hwnd, WM_APP, 0, 0);
  PostMessageA(hwnd, WM_KEYDOWN, 65, 0);
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYUP, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_FALSE(PeekMessageA(&msg, reinterpret_cast<HWND>(9999), 0, 0, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP));
  EXPECT_FALSE(PeekMessageA(nullptr, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Queue, DispatchReachesTheProcedureOfTheWindowsClass) {
  HWND hwnd = MakeWindow();
  MSG msg{hwnd, WM_APP + 5, 11, 22, 0, {0, 0}};
  EXPECT_EQ(DispatchMessageA(&msg), 7);
  ASSERT_EQ(Calls().size(), 1u);
  EXPECT_EQ(Calls()[0].hwnd, hwnd);
  EXPECT_EQ(Calls()[0].message, WM_APP + 5);
  EXPECT_EQ(Calls()[0].wParam, 11u);
  EXPECT_EQ(Calls()[0].lParam, 22);

  // Thread messages and destroyed windows reach no procedure.
  MSG thread{nullptr, WM_APP, 0, 0, 0, {0, 0}};
  EXPECT_EQ(DispatchMessageA(&thread), 0);
  DestroyWindow(hwnd);
  EXPECT_EQ(DispatchMessageA(&msg), 0);
  EXPECT_EQ(Calls().size(), 1u);
  EXPECT_EQ(DispatchMessageA(nullptr), 0);
}

TEST_F(Queue, QuitComesAfterEveryPostedMessageAndOnlyOnce) {
  HWND hwnd = MakeWindow();
  PostMessageA(hwnd, WM_APP, 0, 0);
  PostQuitMessage(3);
  PostMessageA(hwnd, WM_APP + 1, 0, 0);
  std::vector<MSG> taken = Drain();
  ASSERT_EQ(taken.size(), 3u);
  EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_APP));
  EXPECT_EQ(taken[1].message, static_cast<UINT>(WM_APP + 1));
  EXPECT_EQ(taken[2].message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(taken[2].wParam, 3u);
  MSG msg{};
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Queue, PostingToAnUnknownWindowFails) {
  EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(12345), WM_APP, 0, 0));
  HWND hwnd = MakeWindow();
  DestroyWindow(hwnd);
  EXPECT_FALSE(PostMessageA(hwnd, WM_APP, 0, 0));
  MSG msg{};
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Queue, TranslateAnswersKeyMessagesOnlyAndDefaultProcedureReturnsZero) {
  MSG key{nullptr, WM_KEYUP, 'A', 0, 0, {0, 0}};
  MSG other{nullptr, WM_APP, 0, 0, 0, {0, 0}};
  EXPECT_TRUE(TranslateMessage(&key));
  EXPECT_FALSE(TranslateMessage(&other));
  EXPECT_FALSE(TranslateMessage(nullptr));
  EXPECT_EQ(DefWindowProcA(nullptr, WM_PAINT, 0, 0), 0);
  MSG msg{};
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}
