// The typed values of the control script: type words, property words and flag words, and
// the arithmetic of each operation on each type. Whole numbers wrap on overflow instead of
// invoking undefined behaviour; a division by zero of a number leaves the target unchanged;
// texts do not grow past kMaxTextLength.
#include "gui/control_script_values.h"

#include <cstring>

#include "gui/control.h"

namespace KvCore::script {

namespace {

// Longest text an append may make. A script that appends a string variable to itself doubles
// it with every statement; past this length such an append leaves the target unchanged
// instead of exhausting memory.
constexpr unsigned int kMaxTextLength = 1u << 20;

struct WORD_VALUE {
  const char* word;
  uint32_t value;
};

const WORD_VALUE kTypeWords[] = {
    {"string", TYPE_STRING},   {"boolean", TYPE_BOOLEAN},
    {"texture", TYPE_TEXTURE}, {"style", TYPE_STYLE},
    {"integer", TYPE_INTEGER}, {"dword", TYPE_DWORD},
    {"flag", TYPE_DWORD},      {"half", TYPE_HALF},
    {"real", TYPE_REAL},       {"halfvector", TYPE_HALFVECTOR},
    {"vector", TYPE_VECTOR},
};

const WORD_VALUE kFlagWords[] = {
    {"EMPTY", KV_GUI::EMPTY},
    {"ALL", KV_GUI::ALL},
    {"FIT_TO_EDGE_TOP", KV_GUI::FIT_TO_EDGE_TOP},
    {"FIT_TO_EDGE_BOTTOM", KV_GUI::FIT_TO_EDGE_BOTTOM},
    {"FIT_TO_EDGE_LEFT", KV_GUI::FIT_TO_EDGE_LEFT},
    {"FIT_TO_EDGE_RIGHT", KV_GUI::FIT_TO_EDGE_RIGHT},
    {"FIT_TO_EDGE", KV_GUI::FIT_TO_EDGE},
    {"INHERIT_WIDTH", KV_GUI::INHERIT_WIDTH},
    {"INHERIT_HEIGHT", KV_GUI::INHERIT_HEIGHT},
    {"INHERIT_SIZE", KV_GUI::INHERIT_SIZE},
    {"DOCK_TO_EDGE_TOP", KV_GUI::DOCK_TO_EDGE_TOP},
    {"DOCK_TO_EDGE_BOTTOM", KV_GUI::DOCK_TO_EDGE_BOTTOM},
    {"DOCK_TO_EDGE_LEFT", KV_GUI::DOCK_TO_EDGE_LEFT},
    {"DOCK_TO_EDGE_RIGHT", KV_GUI::DOCK_TO_EDGE_RIGHT},
    {"DOCK_TO_EDGE_BOTTOM_INSIDE", KV_GUI::DOCK_TO_EDGE_BOTTOM_INSIDE},
    {"DOCK_TO_EDGE_RIGHT_INSIDE", KV_GUI::DOCK_TO_EDGE_RIGHT_INSIDE},
    {"DOCK_TO_CENTER", KV_GUI::DOCK_TO_CENTER},
    {"DOCK_TO_MIDDLE", KV_GUI::DOCK_TO_MIDDLE},
    {"CENTRALIZE", KV_GUI::CENTRALIZE},
};

bool Lookup(const WORD_VALUE* table, size_t count, const char* word, uint32_t& value) {
  for (size_t i = 0; i < count; ++i) {
    if (strcmp(table[i].word, word) == 0) {
      value = table[i].value;
      return true;
    }
  }
  return false;
}

// ---- arithmetic per type ----

// Whole numbers are combined as unsigned 32-bit values, so overflow wraps as the machine
// does instead of being undefined.
template <class T>
void CombineWhole(OPERATION op, T& target, T source) {
  uint32_t a = (uint32_t)target;
  uint32_t b = (uint32_t)source;
  switch (op) {
    case OP_SET: target = source; break;
    case OP_ADD: target = (T)(a + b); break;
    case OP_SUBTRACT: target = (T)(a - b); break;
    case OP_MULTIPLY: target = (T)(a * b); break;
    case OP_DIVIDE:
      if (source == 0) break;
      // The most negative integer divided by -1 has no 32-bit result; it wraps to itself.
      target = (T)((int64_t)target / (int64_t)source);
      break;
  }
}

template <class T>
void CombineReal(OPERATION op, T& target, T source) {
  switch (op) {
    case OP_SET: target = source; break;
    case OP_ADD: target += source; break;
    case OP_SUBTRACT: target -= source; break;
    case OP_MULTIPLY: target *= source; break;
    case OP_DIVIDE:
      if (source != 0) target /= source;
      break;
  }
}

template <class V>
void CombineVector(OPERATION op, V& target, const V& source) {
  switch (op) {
    case OP_SET: target = source; break;
    case OP_ADD: target += source; break;
    case OP_SUBTRACT: target -= source; break;
    case OP_MULTIPLY: target *= source; break;
    case OP_DIVIDE: target /= source; break;
  }
}

void RemoveAll(KV_STRING& target, const KV_STRING& text) { target.Replace(target, text, ""); }

// The tag buffer always holds a zero-ended text: each write ends with the zero and leaves
// the position on it, so a later add continues the text.
void WriteTag(KV_BUFFER& buffer, const KV_STRING& text) {
  buffer.WriteString(text, true);
  buffer.Seek(1, true, true);
}

}  // namespace

void* VARIABLE::Storage() {
  switch (type) {
    case TYPE_STRING: return &text;
    case TYPE_BOOLEAN: return &boolean;
    case TYPE_TEXTURE: return &texture;
    case TYPE_STYLE: return &style;
    case TYPE_INTEGER: return &integer;
    case TYPE_DWORD: return &dword;
    case TYPE_HALF: return &half;
    case TYPE_REAL: return &real;
    case TYPE_HALFVECTOR: return &halfvector;
    case TYPE_VECTOR: return &vector;
    default: return nullptr;
  }
}

int TypeOfWord(const char* word) {
  uint32_t type = TYPE_NONE;
  Lookup(kTypeWords, sizeof(kTypeWords) / sizeof(kTypeWords[0]), word, type);
  return (int)type;
}

int TypeOfLiteral(const KV_STRING& literal) {
  switch (literal.GetTypeSuffix()) {
    case 'i': return TYPE_INTEGER;
    case 'd': return TYPE_DWORD;
    case 'h': return TYPE_HALF;
    case 'r': return TYPE_REAL;
    case 'f': return TYPE_HALFVECTOR;
    case 'v': return TYPE_VECTOR;
    default: return TYPE_NONE;
  }
}

uint32_t FlagOfWord(const char* word) {
  uint32_t value = 0;
  Lookup(kFlagWords, sizeof(kFlagWords) / sizeof(kFlagWords[0]), word, value);
  return value;
}

TARGET PropertyOf(KV_GUI::CONTROL* c, const char* word) {
  struct PROPERTY {
    const char* word;
    int type;
    void* field;
  };
  const PROPERTY properties[] = {
      {"Order", TYPE_HALF, &c->Order},
      {"Events", TYPE_DWORD, &c->Events},
      {"Behaviour", TYPE_DWORD, &c->Behaviour},
      {"Position", TYPE_HALFVECTOR, &c->Position},
      {"Size", TYPE_HALFVECTOR, &c->Size},
      {"Offset", TYPE_HALFVECTOR, &c->Offset},
      {"ChildOffset", TYPE_HALFVECTOR, &c->ChildOffset},
      {"MarginTop", TYPE_HALF, &c->MarginTop},
      {"MarginBottom", TYPE_HALF, &c->MarginBottom},
      {"MarginLeft", TYPE_HALF, &c->MarginLeft},
      {"MarginRight", TYPE_HALF, &c->MarginRight},
      {"CutMarginTop", TYPE_HALF, &c->CutMarginTop},
      {"CutMarginBottom", TYPE_HALF, &c->CutMarginBottom},
      {"CutMarginLeft", TYPE_HALF, &c->CutMarginLeft},
      {"CutMarginRight", TYPE_HALF, &c->CutMarginRight},
      {"Active", TYPE_BOOLEAN, &c->Active},
      {"Visible", TYPE_BOOLEAN, &c->Visible},
      {"Hitable", TYPE_BOOLEAN, &c->Hitable},
      {"NonCorrected", TYPE_BOOLEAN, &c->NonCorrected},
      {"CutArea", TYPE_BOOLEAN, &c->CutArea},
      {"Text", TYPE_STRING, &c->Text},
      {"Extend", TYPE_BUFFER, &c->Extend},
      {"Icon", TYPE_TEXTURE, &c->Icon},
      {"StyleActive", TYPE_STYLE, &c->StyleActive},
      {"StyleUnactive", TYPE_STYLE, &c->StyleUnactive},
  };
  for (const PROPERTY& property : properties)
    if (strcmp(property.word, word) == 0) return TARGET{property.type, property.field};
  return TARGET{};
}

void Combine(OPERATION op, const TARGET& target, VARIABLE& source) {
  if (target.field == nullptr || target.type != source.type) return;
  switch (target.type) {
    case TYPE_STRING: {
      // The source may be the target itself: work from a copy of its text.
      KV_STRING& text = *(KV_STRING*)target.field;
      const KV_STRING value(source.text);
      if (op == OP_SET)
        text = value;
      else if (op == OP_ADD && text.Length() + value.Length() <= kMaxTextLength)
        text += value;
      else if (op == OP_SUBTRACT)
        RemoveAll(text, value);
      break;
    }
    case TYPE_BOOLEAN:
      if (op == OP_SET)
        *(uint8_t*)target.field = source.boolean;
      else if (op == OP_ADD || op == OP_SUBTRACT)
        *(uint8_t*)target.field = source.boolean ? 0 : 1;
      break;
    case TYPE_TEXTURE:
      if (op == OP_SET) *(KV_HANDLE*)target.field = source.texture;
      break;
    case TYPE_STYLE:
      if (op == OP_SET) *(KV_GUI::STYLE_HANDLE*)target.field = source.style;
      break;
    case TYPE_INTEGER: CombineWhole(op, *(int32_t*)target.field, source.integer); break;
    case TYPE_DWORD: CombineWhole(op, *(uint32_t*)target.field, source.dword); break;
    case TYPE_HALF: CombineReal(op, *(float*)target.field, source.half); break;
    case TYPE_REAL: CombineReal(op, *(double*)target.field, source.real); break;
    case TYPE_HALFVECTOR: CombineVector(op, *(KV_VECTOR*)target.field, source.halfvector); break;
    case TYPE_VECTOR: CombineVector(op, *(KV_VECTOR_D*)target.field, source.vector); break;
    default: break;
  }
}

void ApplyText(OPERATION op, const TARGET& target, const KV_STRING& text) {
  if (target.type == TYPE_STRING) {
    VARIABLE source;
    source.type = TYPE_STRING;
    source.text = text;
    Combine(op, target, source);
  } else if (target.type == TYPE_BUFFER) {
    KV_BUFFER& buffer = *(KV_BUFFER*)target.field;
    if (op == OP_SET) buffer.Clear();
    if (op == OP_SET || op == OP_ADD) WriteTag(buffer, text);
  }
}

void ApplyBoolean(OPERATION op, const TARGET& target, uint8_t value) {
  if (target.type != TYPE_BOOLEAN) return;
  uint8_t& field = *(uint8_t*)target.field;
  if (op == OP_SET)
    field = value;
  else if ((op == OP_ADD || op == OP_SUBTRACT) && value == 1)
    field = field ? 0 : 1;
}

void ApplyFlag(OPERATION op, const TARGET& target, uint32_t value) {
  if (target.type != TYPE_DWORD) return;
  uint32_t& field = *(uint32_t*)target.field;
  if (op == OP_SET)
    field = value;
  else if (op == OP_ADD)
    field |= value;
  else if (op == OP_SUBTRACT)
    field &= ~value;
}

void ApplyNumber(OPERATION op, const TARGET& target, const KV_STRING& literal) {
  // A literal of another type than the target would be decoded beyond (or short of) the
  // target's storage: such statements change nothing.
  int type = TypeOfLiteral(literal);
  if (type == TYPE_NONE || type != target.type || target.field == nullptr) return;
  if (op == OP_SET) {
    literal.Decode(target.field, 0);
    return;
  }
  VARIABLE source;
  source.type = type;
  literal.Decode(source.Storage(), 0);
  Combine(op, target, source);
}

}  // namespace KvCore::script
