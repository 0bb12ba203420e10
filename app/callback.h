// KV_CALLBACK: one plain function pointer without arguments or result, null when built
// by default. The states of the state sequence and the central object's hooks are held
// this way.
#pragma once

struct KV_CALLBACK {
  typedef void (*FUNCTION)();

  FUNCTION function;

  // No function.
  KV_CALLBACK() : function(nullptr) {}
  // Holds the given function (null is allowed).
  KV_CALLBACK(FUNCTION f) : function(f) {}
};
