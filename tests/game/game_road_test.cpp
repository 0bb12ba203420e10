// The engine calls of one whole run, in order: start-up, the main window at 1 x 1, the intro's
// own window, the game window's resize and vertical sync, the sprite and font loads in file
// order, the game frames (camera, actors, score line, present), the tear-down and the closure.
// Also the frame limit that a refused vertical sync leaves on a 60 Hz display.
#include <string>
#include <vector>

#include "game/scores.h"
#include "game_fixture.h"

namespace {

class GameRoadTest : public GameTest {
 protected:
  // The position after from at which every expected call has been found in order; 0 when one
  // is missing (its text is then in missing).
  static size_t FindInOrder(const std::vector<std::string>& calls, size_t from,
                            const std::vector<std::string>& expected, std::string* missing) {
    size_t at = from;
    for (const std::string& call : expected) {
      while (at < calls.size() && calls[at] != call) ++at;
      if (at == calls.size()) {
        *missing = call;
        return 0;
      }
      ++at;
    }
    return at;
  }

  // The calls with the object id that opens an engine call on an existing object written as
  // "#", since ids run on from earlier runs; the ids themselves go to ids, in order.
  static std::vector<std::string> WithoutIds(const std::vector<std::string>& calls,
                                             std::vector<std::string>* ids) {
    static const char* const kOnObject[] = {
        "KvRenderTargetArea(",   "KvRenderTargetActivate(", "KvRenderTargetGet(",
        "KvRenderTargetChange(", "KvRenderTargetDestroy(",  "KvTextureLoad(",
        "KvDrawFont(",           "KvDisplaylistDestroy("};
    std::vector<std::string> out;
    for (const std::string& call : calls) {
      std::string line = call;
      for (const char* prefix : kOnObject) {
        size_t open = std::string(prefix).size();
        if (line.rfind(prefix, 0) != 0) continue;
        size_t end = line.find_first_of(",)", open);
        ids->push_back(line.substr(open, end - open));
        line = line.substr(0, open) + "#" + line.substr(end);
        break;
      }
      out.push_back(line);
    }
    return out;
  }

  // Positions of the calls that are exactly text.
  static std::vector<size_t> PositionsOf(const std::vector<std::string>& calls,
                                         const std::string& text) {
    std::vector<size_t> found;
    for (size_t i = 0; i < calls.size(); ++i)
      if (calls[i] == text) found.push_back(i);
    return found;
  }
};

const char* const kScoreLine = "KvDrawFont(#, \"Gracz 1: 7 \nGracz 2: 12\")";

}  // namespace

TEST_F(GameRoadTest, OneRunCallsTheEngineInTheOrderOfTheRoad) {
  // As in a fresh process: window "main" is made with default settings on its first use.
  Core.windows.Find(3, "main");
  // Scores only grow within a process; these show the format with real numbers.
  ScoreGracz = 7;
  ScoreGracz2 = 12;
  kv::engine::testing::StartTrace();
  int result = RunProgram([&](int frame) {
    if (frame == 1) Key(SDL_SCANCODE_ESCAPE, true);  // the second frame is the last
  });
  kv::engine::testing::StopTrace();
  ASSERT_EQ(result, 1);
  std::vector<std::string> ids;
  const std::vector<std::string> calls = WithoutIds(kv::engine::testing::TracedCalls(), &ids);
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front(), "KvInitiation()");
  EXPECT_EQ(calls.back(), "KvClosure()");

  std::string missing;
  // Window "main" at 1 x 1, then the intro's 640 x 260 window, KV_FORMAT_ALPHA refused and
  // KV_FORMAT_OPAQUE taken.
  size_t at = FindInOrder(
      calls, 0,
      {"KvRenderTargetCreate(ptr, ptr, 81, 32, 16)",
       "KvRenderTargetArea(#, 0, 0, 1, 1, 45, -1, 1, 0)",
       "KvRenderTargetCreate(ptr, ptr, 82, 32, 16)", "KvRenderTargetCreate(ptr, ptr, 81, 32, 16)",
       "KvRenderTargetArea(#, 0, 0, 640, 260, 45, -1, 1, 0)", "KvRenderTargetActivate(#)",
       "KvRenderVsync(0)", "KvSetState(108, 1)", "KvSetState(262, 0, 0, 0, 0)",
       "KvSetState(154, 1)", "KvSetState(155, 164, 165)", "KvCameraOrtho(0, 0, 640, 260, 0)",
       "KvRenderScene(99)", "KvRenderScene(35)", "KvRenderTargetDestroy(#)"},
      &missing);
  ASSERT_NE(at, 0u) << "missing " << missing;

  // The game window: 800 x 600 on the same target, activated, vertical sync asked for.
  at = FindInOrder(
      calls, at,
      {"KvRenderTargetGet(#, 442)", "KvRenderTargetGet(#, 443)", "KvRenderTargetGet(#, 448)",
       "KvRenderTargetChange(#, 81)", "KvRenderTargetArea(#, 0, 0, 800, 600, 45, -1, 1, 0)",
       "KvRenderTargetActivate(#)", "KvExtensions(0)", "KvRenderVsync(1)"},
      &missing);
  ASSERT_NE(at, 0u) << "missing " << missing;

  // The twelve sprites and the font, in file order, with their load flags.
  at = FindInOrder(
      calls, at,
      {"KvTextureLoad(#, \"data/1.kvt\", 0)", "KvTextureParameter(237, 242)",
       "KvTextureParameter(238, 242)", "KvTextureLoad(#, \"data/2.kvt\", 1)",
       "KvTextureLoad(#, \"data/3.kvt\", 1)", "KvTextureLoad(#, \"data/4.kvt\", 1)",
       "KvSetState(100, 10)", "KvTextureLoad(#, \"data/5.kvt\", 1)", "KvGenerateFont(ptr, ptr)",
       "KvTextureLoad(#, \"data/6.kvt\", 1)", "KvTextureLoad(#, \"data/7.kvt\", 1)",
       "KvTextureLoad(#, \"data/8.kvt\", 1)", "KvTextureLoad(#, \"data/9.kvt\", 1)",
       "KvTextureLoad(#, \"data/10.kvt\", 1)", "KvTextureLoad(#, \"data/11.kvt\", 1)",
       "KvTextureLoad(#, \"data/12.kvt\", 1)", "KvTextureLoad(#, \"data/13.kvt\", 1)"},
      &missing);
  ASSERT_NE(at, 0u) << "missing " << missing;

  // Two game frames: the first draws the score line only, the second every actor too. Each
  // opens with the 800 x 600 camera and ends with the score line and the present.
  std::vector<size_t> cameras = PositionsOf(calls, "KvCameraOrtho(0, 0, 800, 600, 0)");
  std::vector<size_t> presents = PositionsOf(calls, "KvRenderScene(35)");
  ASSERT_EQ(cameras.size(), 2u);
  ASSERT_GE(presents.size(), 3u);  // the intro's last, then the game's two
  size_t gamePresents = presents.size() - 2;
  for (int frame = 0; frame < 2; ++frame) {
    size_t begin = cameras[frame], end = presents[gamePresents + frame];
    ASSERT_LT(begin, end);
    int draws = 0;
    for (size_t i = begin; i < end; ++i)
      if (calls[i].rfind("KvDrawDataStruct(11, 0, 4, ptr", 0) == 0) ++draws;
    EXPECT_EQ(draws, frame == 0 ? 0 : 176 + 2 + 1 + 12 + 1 + 2) << "frame " << frame + 1;
    // The score line is the last thing drawn: push, place at (10, 10), print, pop, present.
    ASSERT_GE(end, 3u);
    EXPECT_EQ(calls[end - 2], kScoreLine);
    EXPECT_EQ(calls[end - 1], "KvMatrixPop()");
    EXPECT_NE(FindInOrder(calls, begin, {"KvMatrixTranslate(10, 10, 0)", kScoreLine}, &missing),
              0u);
  }

  // The tear-down frees every texture and the font's display list, then the window goes and
  // the engine closes.
  size_t lastPresent = presents.back();
  int texturesFreed = 0;
  for (size_t i = lastPresent; i < calls.size(); ++i)
    if (calls[i].rfind("KvTextureDestroy(", 0) == 0) ++texturesFreed;
  EXPECT_EQ(texturesFreed, 13);
  EXPECT_NE(
      FindInOrder(calls, lastPresent,
                  {"KvDisplaylistDestroy(#)", "KvRenderTargetDestroy(#)", "KvClosure()"}, &missing),
      0u)
      << "missing " << missing;
  // The target made for "main" at 1 x 1 is the one resized, and the last one destroyed.
  ASSERT_FALSE(ids.empty());
  const std::vector<std::string>& raw = kv::engine::testing::TracedCalls();
  EXPECT_EQ(raw[raw.size() - 2], "KvRenderTargetDestroy(" + ids.front() + ")");
  EXPECT_EQ(PositionsOf(raw, "KvRenderTargetChange(" + ids.front() + ", 81)").size(), 1u);
}

TEST_F(GameRoadTest, ARefusedVerticalSyncOnA60HzDisplayLimitsFramesTo1000Over60Ms) {
  platform::testing::SetRefreshRate(60);
  kv::engine::testing::FailNext("KvRenderVsync", {{0, "1"}});
  float limit = -1;
  RunProgram([&](int frame) {
    if (frame != 1) return;
    limit = KV_LOOP::Instance().frameLimit;
    Core.Quit();
  });
  EXPECT_NEAR(limit, 1000.0f / 60.0f, 1e-3f);
}
