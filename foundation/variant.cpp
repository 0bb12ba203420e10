// KV_VARIANT: payload handling and the conversions between numbers and strings.
#include "foundation/variant.h"

#include <cstring>

KV_VARIANT::KV_VARIANT() : payload(nullptr), kind(0), notOwned(0) {}
KV_VARIANT::KV_VARIANT(const KV_NUMBER& number) : KV_VARIANT() { SetNumber(number); }
KV_VARIANT::KV_VARIANT(double number) : KV_VARIANT() { SetNumber(KV_NUMBER(number)); }
KV_VARIANT::KV_VARIANT(const KV_STRING& text) : KV_VARIANT() { SetString(text.c_str()); }
KV_VARIANT::KV_VARIANT(const char* text) : KV_VARIANT() { SetString(text); }
KV_VARIANT::KV_VARIANT(const KV_VARIANT& other) : KV_VARIANT() { *this = other; }

KV_VARIANT::~KV_VARIANT() {
  if (!notOwned) Clear();
}

KV_VARIANT& KV_VARIANT::operator=(const KV_VARIANT& other) {
  if (this == &other) return *this;
  if (other.kind == 1)
    SetNumber(*(const KV_NUMBER*)other.payload);
  else if (other.kind == 2)
    SetString(((const KV_STRING*)other.payload)->c_str());
  else
    Clear();
  return *this;
}

KV_VARIANT& KV_VARIANT::operator=(const KV_NUMBER& number) {
  SetNumber(number);
  return *this;
}
KV_VARIANT& KV_VARIANT::operator=(double number) {
  SetNumber(KV_NUMBER(number));
  return *this;
}
KV_VARIANT& KV_VARIANT::operator=(const KV_STRING& text) {
  SetString(text.c_str());
  return *this;
}
KV_VARIANT& KV_VARIANT::operator=(const char* text) {
  SetString(text);
  return *this;
}

void KV_VARIANT::SetNumber(const KV_NUMBER& number) {
  // Copy first: the number may live in this variant's payload.
  KV_NUMBER* fresh = new KV_NUMBER(number);
  Clear();
  payload = fresh;
  kind = 1;
}

void KV_VARIANT::SetString(const char* text) {
  // Copy first: the text may be this variant's own payload.
  KV_STRING* fresh = new KV_STRING(text);
  Clear();
  payload = fresh;
  kind = 2;
}

void KV_VARIANT::Clear() {
  // A payload that is not owned is left to its holder.
  if (!notOwned) {
    if (kind == 1)
      delete (KV_NUMBER*)payload;
    else if (kind == 2) {
      KV_STRING* text = (KV_STRING*)payload;
      text->Clear();
      delete text;
    }
  }
  payload = nullptr;
  kind = 0;
  notOwned = 0;
}

char KV_VARIANT::GetType() const { return kind == 1 ? 'n' : (kind == 2 ? 's' : 0); }

double KV_VARIANT::GetNumber() const {
  return kind == 1 ? ((const KV_NUMBER*)payload)->value : 0.0;
}

const char* KV_VARIANT::GetString() const {
  return kind == 2 ? ((const KV_STRING*)payload)->c_str() : nullptr;
}

KV_NUMBER KV_VARIANT::AsNumber() const {
  if (kind == 1) return *(const KV_NUMBER*)payload;
  double value = 0.0;
  if (kind == 2 && ((const KV_STRING*)payload)->Decode(&value, 'r')) return KV_NUMBER(value);
  return KV_NUMBER(0.0);
}

KV_STRING KV_VARIANT::AsString() const {
  KV_STRING text;
  if (kind == 2)
    text = *(const KV_STRING*)payload;
  else if (kind == 1)
    text.Format("%f", ((const KV_NUMBER*)payload)->value);
  return text;
}

KV_VARIANT::operator double() const { return kind == 0 ? 0.0 : AsNumber().value; }

KV_VARIANT::operator const char*() const {
  if (kind == 0) return nullptr;
  // A string hands out its own text; a number's text is kept in the variant.
  if (kind == 2) return ((const KV_STRING*)payload)->c_str();
  numberText = AsString();
  return numberText.c_str();
}

bool KV_VARIANT::Equals(const KV_VARIANT& other) const {
  if (kind != other.kind) return false;
  if (kind == 1)
    return ((const KV_NUMBER*)payload)->value == ((const KV_NUMBER*)other.payload)->value;
  if (kind == 2) return strcmp(GetString(), other.GetString()) == 0;
  return true;
}
