// The typed values of the control script: the variables a run declares (a type code and the
// storage of that type), the targets a statement writes (a field of a control or a variable,
// with its type code) and the arithmetic that joins a value to a target. Only the script's
// interpreter uses it.
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"
#include "foundation/buffer.h"
#include "foundation/string.h"
#include "foundation/vector.h"
#include "gui/gui.h"

namespace KvCore::script {

// Type codes: the numeric ones are the typed-literal suffixes.
enum TYPE : int {
  TYPE_NONE = 0,
  TYPE_BUFFER = 1,  // the tag buffer; a target only, written with text
  TYPE_STRING = 2,
  TYPE_BOOLEAN = 3,
  TYPE_TEXTURE = 4,
  TYPE_STYLE = 5,
  TYPE_DWORD = 'd',
  TYPE_HALFVECTOR = 'f',
  TYPE_HALF = 'h',
  TYPE_INTEGER = 'i',
  TYPE_REAL = 'r',
  TYPE_VECTOR = 'v',
};

enum OPERATION { OP_SET, OP_ADD, OP_SUBTRACT, OP_MULTIPLY, OP_DIVIDE };

// A variable: its type code and one storage slot per type, of which only the one of its
// type is used. A fresh variable holds the declared type's start value.
struct VARIABLE {
  int type = TYPE_NONE;
  KV_STRING text;
  uint8_t boolean = 0;
  KV_HANDLE texture;
  KV_GUI::STYLE_HANDLE style;
  int32_t integer = 0;
  uint32_t dword = 0;
  float half = 0;
  double real = 0;
  KV_VECTOR halfvector;
  KV_VECTOR_D vector;

  // The storage of the variable's own type; null for no type.
  void* Storage();
};

// What a statement writes: a field or a variable's storage and its type; type 0 is none.
struct TARGET {
  int type = TYPE_NONE;
  void* field = nullptr;
};

// The type code of a declaration's type word; TYPE_NONE for a word not in the language.
int TypeOfWord(const char* word);
// The type code of a typed literal's suffix in the script ('i' 'd' 'h' 'r' 'f' 'v');
// TYPE_NONE for any other suffix.
int TypeOfLiteral(const KV_STRING& literal);
// The value of a layout flag word; 0 for a word that is not one.
uint32_t FlagOfWord(const char* word);
// The field of control that a property word names; type TYPE_NONE for other words.
TARGET PropertyOf(KV_GUI::CONTROL* control, const char* word);

// Joins source to target by op, as the source's type rules say; nothing when the types
// differ or the pair has no rule (a division by zero of a number changes nothing).
void Combine(OPERATION op, const TARGET& target, VARIABLE& source);
// A quoted text value: string targets set, append or remove it; the tag buffer is set or
// written at its position.
void ApplyText(OPERATION op, const TARGET& target, const KV_STRING& text);
// A "boolean" word's value (1 or 0): set stores it; add and subtract negate when it is 1.
void ApplyBoolean(OPERATION op, const TARGET& target, uint8_t value);
// A "flag" word's value on a flag target: set assigns, add ORs in, subtract clears bits.
void ApplyFlag(OPERATION op, const TARGET& target, uint32_t value);
// A "number" literal: set decodes it into a target of the literal's type; the other
// operations decode it into a value of its own type and Combine it.
void ApplyNumber(OPERATION op, const TARGET& target, const KV_STRING& literal);

}  // namespace KvCore::script
