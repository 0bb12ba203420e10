// The engine's glyph tables ("display lists" of KvGenerateFont), as the rest of the engine sees them.
#pragma once

#include <cstddef>

namespace kv::engine {

// Number of live glyph tables.
size_t FontCount();
// Destroys every glyph table (at closure).
void DestroyAllFonts();

}  // namespace kv::engine
