// KV_TECHNIQUE: one compiled rendering script of the "TechniqueShader" language. The engine's
// script compiler compiles and runs it; this class supplies the language's definition text and
// the ten procedures the script calls, and owns the program bytes (allocated by the engine's
// compiler or by the framework's loaders; engineOwned says which side frees them). The script's
// variables hold pointers to the program's objects (shaders, canvases, quads, texture handles,
// values, callbacks), passed as pointer-sized argument words to Execute.
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"
#include "engine/kv_array.h"

class KV_TECHNIQUE {
 public:
  KV_ARRAY<unsigned char> program;  // the compiled script
  unsigned char engineOwned;        // 1 when the engine's compiler allocated the bytes

  // The language's definition text, registered as "TechniqueShader".
  static const char definitionText[];
  // The definition list built by RegisterDefinitions; null until then, or when linking failed.
  static KV_DEFINITION_LIST* definitionList;

  // Empty and framework-owned.
  KV_TECHNIQUE() : engineOwned(0) {}

  // (Re)registers the language and its ten procedures; call once before compiling or running.
  static void RegisterDefinitions();

  // Frees the old program and compiles the script file; false on a compile or read error.
  bool CompileFile(const char* path);
  // Frees the old program and compiles length bytes of script text; false on a compile error.
  bool Compile(const char* text, unsigned int length);
  // Compiles the script file at sourcePath into the program file at outPath; the engine's result.
  static uint8_t CompileFileToFile(const char* sourcePath, const char* outPath);
  // Compiles length bytes of text into the program file at outPath; the engine's result.
  static uint8_t CompileToFile(const char* text, unsigned int length, const char* outPath);

  // Frees the old program and loads program bytes from a file; true (an unreadable file leaves
  // the technique empty).
  bool LoadFromFile(const char* path);
  // Frees the old program and copies size bytes of program; false for null data or size 0.
  bool LoadFromMemory(const void* data, unsigned int size);

  // Runs the program with the argument words (the script's variables, in declaration order), or
  // none for null; false for an empty technique or when the engine refuses the program.
  bool Execute(KV_ARRAY<uintptr_t>* arguments);

  // Releases the program through whichever side allocated it; the technique is empty after.
  void Free();

  // ---- procedures the script calls, one per statement kind ----
  // Each reads its pointer-sized argument words from the block: a keyword's number, or the
  // address of a script variable. A variable that should point at an object but holds null
  // makes the statement do nothing.
  static void ProcExecute(KV_ARRAY<unsigned char>* arguments);
  static void ProcClear(KV_ARRAY<unsigned char>* arguments);
  static void ProcPass(KV_ARRAY<unsigned char>* arguments);
  static void ProcCanvas(KV_ARRAY<unsigned char>* arguments);
  static void ProcRect(KV_ARRAY<unsigned char>* arguments);
  static void ProcImage(KV_ARRAY<unsigned char>* arguments);
  static void ProcColor(KV_ARRAY<unsigned char>* arguments);
  static void ProcBlend(KV_ARRAY<unsigned char>* arguments);
  static void ProcParam(KV_ARRAY<unsigned char>* arguments);
  static void ProcAttrib(KV_ARRAY<unsigned char>* arguments);
};
