// The value of one hexadecimal digit, shared by KV_STRING's escape decoding and its hex
// literals. Lenient by design: both callers have already decided where digits stand.
#pragma once

// Value of one hex digit (either case); any other character counts as 0.
inline unsigned char HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return (unsigned char)(c - '0');
  if (c >= 'a' && c <= 'f') return (unsigned char)(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return (unsigned char)(c - 'A' + 10);
  return 0;
}
