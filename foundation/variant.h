// KV_VARIANT: a value that is empty, a number (KV_NUMBER) or a string (KV_STRING),
// held in an owned heap payload, with conversions between the two kinds: a string
// reads as a typed literal with the forced suffix r, a number prints with "%f".
#pragma once

#include "foundation/number.h"
#include "foundation/string.h"

class KV_VARIANT {
 public:
  void* payload;           // heap KV_NUMBER (kind 1) or KV_STRING (kind 2); null when empty
  unsigned char kind;      // 0 none, 1 number, 2 string
  unsigned char notOwned;  // when set, the payload is never deleted by the variant

  // Empty.
  KV_VARIANT();
  KV_VARIANT(const KV_NUMBER& number);
  KV_VARIANT(double number);
  KV_VARIANT(const KV_STRING& text);
  KV_VARIANT(const char* text);
  // The same kind with a copy of the other's payload.
  KV_VARIANT(const KV_VARIANT& other);
  ~KV_VARIANT();

  KV_VARIANT& operator=(const KV_VARIANT& other);
  KV_VARIANT& operator=(const KV_NUMBER& number);
  KV_VARIANT& operator=(double number);
  KV_VARIANT& operator=(const KV_STRING& text);
  KV_VARIANT& operator=(const char* text);

  // Becomes a number holding the value.
  void SetNumber(const KV_NUMBER& number);
  // Becomes a string holding a copy of the text (null: the empty text).
  void SetString(const char* text);
  // Becomes empty.
  void Clear();

  bool IsNone() const { return kind == 0; }
  bool IsNumber() const { return kind == 1; }
  bool IsString() const { return kind == 2; }
  // 'n' for a number, 's' for a string, 0 when empty.
  char GetType() const;
  // The number payload's value; 0.0 for any other kind.
  double GetNumber() const;
  // The string payload's text; null for any other kind.
  const char* GetString() const;

  // A number as it is, a string decoded as a typed literal (0 when it does not decode);
  // 0 when empty.
  KV_NUMBER AsNumber() const;
  // A string as it is, a number with six decimals; "" when empty.
  KV_STRING AsString() const;
  operator KV_NUMBER() const { return AsNumber(); }
  operator KV_STRING() const { return AsString(); }
  operator double() const;
  // Null when empty; else the text of AsString, which stays valid until the variant
  // changes or asks again.
  operator const char*() const;

  // Equal when the kinds are equal and so are the payloads (numbers exactly, strings
  // byte-wise); two empty variants are equal.
  bool Equals(const KV_VARIANT& other) const;
  bool operator==(const KV_VARIANT& other) const { return Equals(other); }
  bool operator!=(const KV_VARIANT& other) const { return !Equals(other); }

 private:
  // The text a number variant hands out as const char*.
  mutable KV_STRING numberText;
};
