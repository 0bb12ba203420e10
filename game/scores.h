// The two players' scores: signed, 0 at program start, raised by the bonus and never reset.
// The game frame prints them in its score line.
#pragma once

#include <cstdint>

extern int32_t ScoreGracz;   // player 1
extern int32_t ScoreGracz2;  // player 2
