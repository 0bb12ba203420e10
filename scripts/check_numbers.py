#!/usr/bin/env python3
"""Fails when an engine number that engine/numbers.h names is written bare at a call.

For every call that takes an engine number (KvSetState's state, KvTextureParameter's parameter
and value, a sprite loader's texture filters, ...), the argument in that place must not be a
plain whole-number literal whose value the place's names cover: KvSetState(KV_STATE_BLEND, 1) is
fine, KvSetState(154, 1) is not. A literal the names do not cover (a test's deliberately unknown
number, KvGetState(264)) is left alone, as are comments and string literals (the call trace
records plain numbers). The scan is lexical: it matches the call's parentheses and splits its
arguments at top-level commas.

  scripts/check_numbers.py            checks every tracked C++ file
  scripts/check_numbers.py FILE ...   checks the given files
"""
import os
import re
import subprocess
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")


def engine_names():
    """Every name of engine/numbers.h with its value."""
    text = open(os.path.join(ROOT, "engine", "numbers.h")).read()
    return {m.group(1): int(m.group(2))
            for m in re.finditer(r"^\s+(KV_[A-Z0-9_]+)\s*=\s*(\d+)", text, re.M)}


NAMES = engine_names()


def space(prefix, low=0, high=1 << 32):
    """The names of one number space: value -> name, for names with the prefix in a value range."""
    values = {}
    for name, value in NAMES.items():
        if name.startswith(prefix) and low <= value <= high:
            values.setdefault(value, name)
    return values


STATES = space("KV_STATE_")
FACTORS = space("KV_BLEND_", 158, 172)
EQUATIONS = space("KV_BLEND_", 174, 178)
SCENE = space("KV_SCENE_")
FORMATS = space("KV_FORMAT_")
TARGET_PROPERTIES = space("KV_RT_")
MATRICES = space("KV_MATRIX_")
TEXTURE_TARGET = space("KV_TEXTURE_TARGET")
TEXTURE_PARAMETERS = space("KV_TEX_", 237, 240)
TEXTURE_VALUES = {**space("KV_FILTER_"), **space("KV_WRAP_")}
FILTERS = space("KV_FILTER_")
TEXTURE_PROPERTIES = space("KV_TEX_", 258, 261)
LOCKS = space("KV_LOCK_")
UNLOCKS = space("KV_UNLOCK_")
PRIMITIVES = space("KV_PRIM_")
ELEMENTS = space("KV_ELEMENT_")
SHADERS = space("KV_SHADER_")
FRAME_BUFFER_PROPERTIES = space("KV_FB_")
USAGES = space("KV_VB_", 454, 462)
PARTS = space("KV_VB_", 452, 453)
ACCESSES = space("KV_VB_MAP_")
DNA_KINDS = space("KV_DNA_", 34, 37)
DNA_DIE = space("KV_DNA_KILL")
SUBSTANCE = space("KV_SUBSTANCE_")
FORCE_ENDS = space("KV_FORCE_")
CORNERS = space("KV_SURFACE_CORNER")
COORDS = space("KV_SURFACE_COORD")
SOCKET_MODES = space("KV_SOCKET_")
SEND_FLAGS = space("KV_SEND_")

# Engine calls: argument position -> the names that place takes.
CALLS = {
    "KvGetState": {0: STATES},
    "KvRenderScene": {0: SCENE},
    "KvRenderTargetCreate": {2: FORMATS},
    "KvRenderTargetChange": {1: FORMATS},
    "KvRenderTargetGet": {1: TARGET_PROPERTIES},
    "KvMatrixMode": {0: MATRICES},
    "KvMatrixSave": {0: MATRICES},
    "KvTextureUnactivate": {0: TEXTURE_TARGET},
    "KvSurfaceSetTexture": {2: TEXTURE_TARGET},
    "KvTextureParameter": {0: TEXTURE_PARAMETERS, 1: TEXTURE_VALUES},
    "KvTextureGet": {1: TEXTURE_PROPERTIES},
    "KvTextureLock": {1: LOCKS},
    "KvTextureUnlock": {1: UNLOCKS},
    "KvDrawDataStruct": {0: PRIMITIVES},
    "KvDrawData": {0: PRIMITIVES, 9: ELEMENTS},
    "KvPrimitiveBegin": {0: PRIMITIVES},
    "KvShaderLoad": {1: SHADERS},
    "KvShaderLoadFromMemory": {1: SHADERS},
    "KvShaderUnactivate": {0: SHADERS},
    "KvShaderLocalParam": {0: SHADERS},
    "KvFrameBufferGet": {1: FRAME_BUFFER_PROPERTIES},
    "KvVertexBufferCreate": {3: USAGES, 6: USAGES},
    "KvVertexBufferActivate": {1: PARTS},
    "KvVertexBufferUnactivate": {0: PARTS},
    "KvVertexBufferHasBuffer": {1: PARTS},
    "KvVertexBufferSize": {1: PARTS},
    "KvVertexBufferMap": {0: PARTS, 1: ACCESSES},
    "KvVertexBufferUnmap": {0: PARTS},
    "KvDnaLink": {1: DNA_KINDS},
    "KvDnaGet": {1: DNA_KINDS},
    "KvDnaCount": {1: DNA_KINDS},
    "KvDnaDie": {1: DNA_DIE},
    "KvSubstanceGet": {1: SUBSTANCE},
    "KvCovalenceForceSetSubstance": {1: FORCE_ENDS},
    "KvCovalenceForceGet": {1: FORCE_ENDS},
    "KvSurfaceSetSubstance": {1: CORNERS},
    "KvSurfaceSetCoord": {1: COORDS},
    "KvSocketOpen": {1: SOCKET_MODES},
    "KvSocketSend": {2: SEND_FLAGS},
}

# Framework methods that pass engine numbers on, told apart by their argument count: the sprite,
# font and model loaders' texture filters and KV_CORE::SetBlend.
METHODS = {
    ("Load", 10): {2: FILTERS, 3: FILTERS},  # KV_SPRITE::Load
    ("Load", 5): {3: FILTERS, 4: FILTERS},  # KV_FONT::Load
    ("Load", 6): {2: FILTERS, 3: FILTERS},  # KV_MODEL::Load
    ("LoadFromMemory", 11): {3: FILTERS, 4: FILTERS},  # KV_SPRITE
    ("LoadFromMemory", 6): {4: FILTERS, 5: FILTERS},  # KV_FONT
    ("LoadFromRender", 12): {4: FILTERS, 5: FILTERS},
    ("LoadImages", 9): {1: FILTERS, 2: FILTERS},
    ("LoadImage", 5): {3: FILTERS, 4: FILTERS},
    ("LoadEmpty", 10): {2: FILTERS, 3: FILTERS},
    ("SetBlend", 3): {0: FACTORS, 1: FACTORS, 2: EQUATIONS},
}

LITERAL = re.compile(r"^\s*(?:\((?:int|int32_t|uint32_t|unsigned|uint8_t|float|double)\)\s*)?"
                     r"(\d+)(?:u|U|f|\.0*f?)?\s*$")
CALL = re.compile(r"(\.|->)?\b(Kv\w+|Load\w*|SetBlend)\s*\(")
MASK = re.compile(r"//[^\n]*|/\*.*?\*/|\"(?:\\.|[^\"\\\n])*\"|'(?:\\.|[^'\\\n])*'", re.S)


def masked(text):
    """The text with comments, strings and character literals blanked, lines kept."""
    return MASK.sub(lambda m: re.sub(r"[^\n]", " ", m.group(0)), text)


def arguments(text, start):
    """The top-level arguments of the call whose "(" ends just before start, or None."""
    depth, args, begin = 0, [], start
    for i in range(start, len(text)):
        c = text[i]
        if c in "([{":
            depth += 1
        elif c in ")]}":
            if depth == 0:
                args.append(text[begin:i])
                return args if any(a.strip() for a in args) else []
            depth -= 1
        elif c == "," and depth == 0:
            args.append(text[begin:i])
            begin = i + 1
    return None


def places(name, is_method, args):
    """Argument position -> names for this call, or None when it takes no engine number."""
    if is_method:
        return METHODS.get((name, len(args)))
    if name == "KvSetState":
        state = args[0].strip()
        value = NAMES.get(state)
        if value is None and LITERAL.match(state):
            value = int(LITERAL.match(state).group(1))
        result = {0: STATES}
        if value == NAMES["KV_STATE_BLEND_FUNC"]:
            result.update({1: FACTORS, 2: FACTORS})
        elif value == NAMES["KV_STATE_BLEND_EQUATION"]:
            result[1] = EQUATIONS
        return result
    return CALLS.get(name)


def check(path):
    """The bare engine numbers of one file, as messages."""
    text = masked(open(path, encoding="utf-8", errors="replace").read())
    found = []
    for call in CALL.finditer(text):
        is_method, name = call.group(1) is not None, call.group(2)
        args = arguments(text, call.end())
        if not args:
            continue
        # A declaration names its parameters' types; a call never does.
        if re.search(r"\b(?:u?int\d+_t|KV_HANDLE\*?|float|double)\s+\w+\s*$", args[0]):
            continue
        for position, names in (places(name, is_method, args) or {}).items():
            literal = LITERAL.match(args[position]) if position < len(args) else None
            if literal and int(literal.group(1)) in names:
                line = text.count("\n", 0, call.start()) + 1
                value = int(literal.group(1))
                found.append(f"{path}:{line}: {name} writes {value} bare; its name is {names[value]}")
    return found


def main():
    os.chdir(ROOT)
    files = sys.argv[1:] or subprocess.run(
        ["git", "ls-files", "*.cpp", "*.h"], capture_output=True, text=True,
        check=True).stdout.split()
    found = [message for path in files if path != "engine/numbers.h" for message in check(path)]
    for message in found:
        print(message)
    if found:
        print(f"numbers: {len(found)} engine numbers written bare (engine/numbers.h names them)")
        return 1
    print(f"numbers: every engine number at a call is written by its name ({len(files)} files)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
