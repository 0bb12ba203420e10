// The input state through the window procedure and the free functions: keys and the
// key-repeat filter, mouse buttons and the wheel, typed characters, the frame reset, the
// cursor, and the procedure's hooks and quit message.
#include "app_fixture.h"
#include "app/window.h"

namespace {

class InputTest : public AppTest {};

HWND hookWindow;
UINT hookMessage;
WPARAM hookWParam;
LPARAM hookLParam;
int trayCalls, appCalls, otherCalls;

void TrayHook(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  ++trayCalls;
  hookWindow = hwnd;
  hookWParam = wParam;
  hookLParam = lParam;
}
void AppHook(HWND, UINT message, WPARAM, LPARAM) {
  ++appCalls;
  hookMessage = message;
}
LRESULT OtherHook(HWND, UINT message, WPARAM, LPARAM) {
  ++otherCalls;
  hookMessage = message;
  return 99;
}

}  // namespace

// ---- keys ----

TEST_F(InputTest, KeyMessagesSetHeldPressedAndReleased) {
  EXPECT_EQ(Send(WM_KEYDOWN, VK_LEFT), 0);
  EXPECT_TRUE(KvKeyDown(VK_LEFT));
  EXPECT_TRUE(KvKeyPressed(VK_LEFT));
  EXPECT_EQ(KV_INPUT::Instance().lastKey, VK_LEFT);
  EXPECT_EQ(Send(WM_KEYUP, VK_LEFT), 0);
  EXPECT_FALSE(KvKeyDown(VK_LEFT));
  EXPECT_TRUE(KvKeyReleased(VK_LEFT));
  KvInputResetFrame(false);
  EXPECT_FALSE(KvKeyPressed(VK_LEFT));
  EXPECT_FALSE(KvKeyReleased(VK_LEFT));
}

TEST_F(InputTest, KeyZeroAsksForAnyKeyAndIgnoresItsOwnEntry) {
  KvSetKeyDown(0, 1);
  EXPECT_FALSE(KvKeyDown(0));
  Send(WM_KEYDOWN, 'W');
  EXPECT_TRUE(KvKeyDown(0));
  EXPECT_TRUE(KvKeyPressed(0));
  EXPECT_FALSE(KvKeyReleased(0));
  Send(WM_KEYDOWN, 255);
  Send(WM_KEYUP, 'W');
  EXPECT_TRUE(KvKeyDown(0));
  EXPECT_TRUE(KvKeyReleased(0));
}

TEST_F(InputTest, CodesBeyondTheTablesAreIgnored) {
  EXPECT_EQ(Send(WM_KEYDOWN, 256), 0);
  EXPECT_EQ(Send(WM_KEYUP, 100000), 0);
  EXPECT_FALSE(KvKeyDown(0));
  EXPECT_FALSE(KvKeyDown(256));
  EXPECT_EQ(KvSetKeyDown(300, 1), 0);
  EXPECT_FALSE(KvReleaseKeyAtFrameEnd(256));
}

TEST_F(InputTest, RepeatFilterOnGivesOnePressPerPhysicalPress) {
  KV_INPUT::Instance().keyRepeatFilter = 1;
  Send(WM_KEYDOWN, 'A');
  EXPECT_TRUE(KvKeyPressed('A'));
  KvInputResetFrame(false);
  Send(WM_KEYDOWN, 'A');  // auto-repeat in the next frame
  EXPECT_FALSE(KvKeyPressed('A'));
  EXPECT_TRUE(KvKeyDown('A'));
  Send(WM_KEYUP, 'A');
  KvInputResetFrame(false);
  Send(WM_KEYDOWN, 'A');  // a new press
  EXPECT_TRUE(KvKeyPressed('A'));
}

TEST_F(InputTest, RepeatFilterOffPressesOnEveryRepeat) {
  Send(WM_KEYDOWN, 'A');
  KvInputResetFrame(false);
  Send(WM_KEYDOWN, 'A');
  EXPECT_TRUE(KvKeyPressed('A'));
}

TEST_F(InputTest, KeyReleaseMarksApplyOnceAtTheFrameEnd) {
  Send(WM_KEYDOWN, 'S');
  EXPECT_TRUE(KvReleaseKeyAtFrameEnd('S'));
  EXPECT_TRUE(KvKeyDown('S'));
  KvInputResetFrame(false);
  EXPECT_FALSE(KvKeyDown('S'));
  EXPECT_EQ(KV_INPUT::Instance().keyReleaseMark[int('S')], 0);
  Send(WM_KEYDOWN, 'S');
  KvInputResetFrame(false);
  EXPECT_TRUE(KvKeyDown('S'));
}

TEST_F(InputTest, FullResetLetsGoOfEverything) {
  Send(WM_KEYDOWN, 'D');
  Send(WM_LBUTTONDOWN);
  KvInputResetFrame(true);
  EXPECT_FALSE(KvKeyDown(0));
  EXPECT_FALSE(KvMouseDown(1));
}

// ---- mouse ----

TEST_F(InputTest, ButtonsAreNumberedLeftRightMiddle) {
  Send(WM_RBUTTONDOWN);
  EXPECT_TRUE(KvMouseDown(2));
  EXPECT_TRUE(KvMousePressed(2));
  EXPECT_FALSE(KvMouseDown(3));
  EXPECT_EQ(KV_INPUT::Instance().mouseDown[2], 1);  // stored left, middle, right
  Send(WM_MBUTTONDOWN);
  EXPECT_TRUE(KvMouseDown(3));
  EXPECT_EQ(KV_INPUT::Instance().mouseDown[1], 1);
  Send(WM_LBUTTONDOWN);
  Send(WM_LBUTTONUP);
  EXPECT_FALSE(KvMouseDown(1));
  EXPECT_TRUE(KvMousePressed(1));
  EXPECT_TRUE(KvMouseReleased(1));
  EXPECT_TRUE(KvMouseReleased(0));
  EXPECT_FALSE(KvMouseDown(6));
  EXPECT_FALSE(KvMousePressed(4));
  EXPECT_EQ(KvSetMousePressed(4, 1), 0);
  KvInputResetFrame(false);
  EXPECT_FALSE(KvMousePressed(0));
  EXPECT_FALSE(KvMouseReleased(0));
  EXPECT_TRUE(KvMouseDown(0));
}

TEST_F(InputTest, ButtonReleaseMarksStayAndForceTheButtonUpEveryFrame) {
  EXPECT_TRUE(KvReleaseMouseAtFrameEnd(1));
  EXPECT_FALSE(KvReleaseMouseAtFrameEnd(4));
  for (int frame = 0; frame < 2; ++frame) {
    Send(WM_LBUTTONDOWN);
    EXPECT_TRUE(KvMouseDown(1));
    KvInputResetFrame(false);
    EXPECT_FALSE(KvMouseDown(1));
  }
}

TEST_F(InputTest, WheelHalvesMakeOneNotch) {
  Send(WM_MOUSEWHEEL, WheelParam(60));
  EXPECT_FALSE(KvMouseDown(4));
  EXPECT_EQ(KV_INPUT::Instance().wheelAccumulator, 60);
  Send(WM_MOUSEWHEEL, WheelParam(60));
  EXPECT_TRUE(KvMouseDown(4));
  EXPECT_TRUE(KvMouseDown(0));
  EXPECT_EQ(KV_INPUT::Instance().wheelNotches, 1);
  EXPECT_EQ(KV_INPUT::Instance().wheelAccumulator, 0);
  KvInputResetFrame(false);
  EXPECT_FALSE(KvMouseDown(4));
}

TEST_F(InputTest, WheelBackwardKeepsTheSignOfTheRemainder) {
  Send(WM_MOUSEWHEEL, WheelParam(-240));
  EXPECT_TRUE(KvMouseDown(5));
  EXPECT_FALSE(KvMouseDown(4));
  EXPECT_EQ(KV_INPUT::Instance().wheelNotches, -2);
  Send(WM_MOUSEWHEEL, WheelParam(-130));
  EXPECT_EQ(KV_INPUT::Instance().wheelNotches, -1);
  EXPECT_EQ(KV_INPUT::Instance().wheelAccumulator, -10);
}

// ---- typed characters ----

TEST_F(InputTest, PopCharTakesTheNewestWhileReadTextReadsOldestFirst) {
  for (char c : {'a', 'b', 'c'}) Send(WM_CHAR, (WPARAM)c);
  KV_STRING text("> ");
  EXPECT_TRUE(KvReadText(text, true));
  EXPECT_STREQ(text.c_str(), "> abc");
  EXPECT_EQ(KvCharCount(), 3u);
  unsigned char c = 0;
  ASSERT_TRUE(KvPopChar(c));
  EXPECT_EQ(c, 'c');
  ASSERT_TRUE(KvPopChar(c));
  EXPECT_EQ(c, 'b');
  ASSERT_TRUE(KvPopChar(c));
  EXPECT_EQ(c, 'a');
  EXPECT_FALSE(KvPopChar(c));
  EXPECT_FALSE(KvReadText(text, false));
}

TEST_F(InputTest, ReadTextEmptiesTheQueueAndStopsAtAZeroByte) {
  Send(WM_CHAR, 0x1FF08);  // only the low byte counts: backspace
  Send(WM_CHAR, 'x');
  Send(WM_CHAR, 0);
  Send(WM_CHAR, 'y');
  KV_STRING text;
  EXPECT_TRUE(KvReadText(text, false));
  EXPECT_STREQ(text.c_str(), "\bx");
  EXPECT_EQ(KvCharCount(), 0u);
}

// ---- cursor ----

TEST_F(InputTest, CursorIsReadIntoTheInputAndMeasuredAgainstAWindow) {
  platform::testing::SetCursorPosition(300, 200);
  KV_VECTOR_D at = KvCursorRefresh();
  EXPECT_EQ(at, KV_VECTOR_D(300, 200, 0, 1));
  KV_WINDOW window;
  window.x = 100;
  window.y = 50;
  EXPECT_EQ(KvCursorXIn(&window), 200);
  EXPECT_EQ(KvCursorYIn(&window), 150);
  EXPECT_EQ(KvCursorXIn(nullptr), 300);
  EXPECT_TRUE(KvSetCursor(10, 20));
  EXPECT_EQ(KvCursorX(), 10);
  EXPECT_EQ(KvCursorY(), 20);
}

TEST_F(InputTest, AnUnreadableCursorGivesTheOriginAndKeepsTheLastPosition) {
  platform::testing::SetCursorPosition(30, 40);
  KvCursorRefresh();
  platform::testing::FailCursor(true);
  EXPECT_EQ(KvCursorRefresh(), KV_VECTOR_D(0, 0, 0, 1));
  EXPECT_EQ(KvCursorX(), 30);
  EXPECT_FALSE(KvSetCursor(1, 2));
  EXPECT_EQ(KvCursorX(), 1);  // stored even when the move is refused
  platform::testing::FailCursor(false);
}

// ---- the window procedure's other messages ----

TEST_F(InputTest, CloseRequestPostsTheQuitMessage) {
  EXPECT_EQ(Send(WM_CLOSE), 0);
  MSG message{};
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, (UINT)WM_QUIT);
}

TEST_F(InputTest, SystemCommandsAreSwallowed) {
  KV_LOOP::Instance().messageHook = OtherHook;
  otherCalls = 0;
  EXPECT_EQ(Send(WM_SYSCOMMAND, SC_CLOSE), 0);
  EXPECT_EQ(Send(WM_SYSCOMMAND, SC_SCREENSAVE), 0);
  EXPECT_EQ(otherCalls, 0);
  MSG message{};
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(InputTest, TrayAndApplicationMessagesGoToTheirHooks) {
  KV_LOOP& loop = KV_LOOP::Instance();
  trayCalls = appCalls = otherCalls = 0;
  HWND token = reinterpret_cast<HWND>(0x1234);
  // Without hooks nothing is called and the messages are still answered.
  EXPECT_EQ(Send(WM_APP, 1, 2, token), 0);
  loop.trayHook = TrayHook;
  loop.appMessageHook = AppHook;
  loop.messageHook = OtherHook;
  EXPECT_EQ(Send(WM_APP, 5, WM_LBUTTONUP, token), 0);
  EXPECT_EQ(trayCalls, 1);
  EXPECT_EQ(hookWindow, token);
  EXPECT_EQ(hookWParam, 5u);
  EXPECT_EQ(hookLParam, WM_LBUTTONUP);
  EXPECT_EQ(Send(0x8001), 0);
  EXPECT_EQ(Send(0xBFFE), 0);
  EXPECT_EQ(appCalls, 2);
  EXPECT_EQ(hookMessage, 0xBFFEu);
  EXPECT_EQ(otherCalls, 0);
  // Past the application range, and without an application hook, the rest is offered to the
  // message hook and then handled by default (its result is not the hook's).
  EXPECT_EQ(Send(0xBFFF), 0);
  EXPECT_EQ(otherCalls, 1);
  loop.appMessageHook = nullptr;
  EXPECT_EQ(Send(0x9000), 0);
  EXPECT_EQ(otherCalls, 2);
  EXPECT_EQ(hookMessage, 0x9000u);
  Send(WM_SYSKEYDOWN, 'A');
  EXPECT_EQ(otherCalls, 3);
  EXPECT_FALSE(KvKeyDown('A'));
}
