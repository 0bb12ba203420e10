// The engine's script compiler and runtime: languages are linked from definition texts, built into
// self-contained definition lists, and scripts of a language are compiled into relocatable bytes in
// the framework's byte arrays (KV_ARRAY, engine/kv_array.h) and run by calling the procedures the
// program registered for the language, in script order. The engine owns definitions, lists and the
// procedure table; the byte arrays belong to the caller (the compile calls allocate their blocks
// with the array's own Resize, so either side may free them).
//
// Definition text (lines end in "\n", a "\r" before it is ignored, blank lines are skipped):
//    !EXTERNAL: <language name>             the name the text is linked under; must come first
//    !KEYWORDS: <word> <word> ...           keyword k is the k-th word, from 0 (may be empty)
//    !DEFINITIONS: <n>                      n as decimal digits, optionally with a whole-number
//                                           type letter (c b s w i d), e.g. "10d"
//    <NAME><blanks><KIND><blanks><KIND>...  exactly n lines, KIND is KEYWORD or VARIABLE, blanks
//                                           are spaces or tabs in any mix
//    !END                                   nothing but blank lines may follow
//  Names and keywords are words of letters, digits and "_" not starting with a digit; keyword and
//  procedure names are unique within the language.
//
// Script text (one statement per line; "#" starts a comment up to the line's end; words are
// separated by spaces or tabs; names are compared exactly, case included):
//    !LANGUAGE: <name>         optional, before any statement: the language of the list to use;
//                              without it the list's first language is used
//    !VARIABLES: <name> ...    declares variables; the i-th declared overall (from 0) takes the
//                              i-th argument word of the run, and is 0 when the run gives fewer
//    <PROCEDURE> <arg> ...     a statement: as many arguments as the procedure's definition has;
//                              a KEYWORD position takes one of the language's keywords, a
//                              VARIABLE position a variable declared on an earlier line
//  Any other word, a wrong argument count, a variable declared twice or named like a keyword, or
//  an unknown directive or language is a compile error: the compile call returns 0.
//
// Compiled program bytes (unsigned 32-bit words, little-endian, no pointers, so a program can be
// written to a file, loaded into any block and run):
//    offset 0   4 bytes "KVS1"
//    offset 4   version, 1
//    offset 8   the program's total size in bytes (must equal the array's count)
//    offset 12  variable count (at most 65536)
//    offset 16  name count N (at least 1)
//    offset 20  statement count S
//    offset 24  N names: a length, then its bytes padded with zeros to a multiple of 4;
//               name 0 is the language, the others the procedures the statements call
//    then       S statements: procedure name index (1 to N-1), argument count A, then A pairs
//               (kind: 0 keyword, 1 variable; value: keyword number or variable index)
//
// Running: every argument word and every variable is pointer-sized (uintptr_t). The run makes the
// variables, fills them from the argument words, checks every statement against the definition
// list (procedure defined with these argument kinds, keywords in range) and every procedure is
// registered, and only then calls them in order. Each procedure gets a byte array with its cursor
// at the start holding one word per argument: a KEYWORD argument's keyword number, a VARIABLE
// argument's address (a uintptr_t* to the variable). A malformed program, an unknown list or a
// statement that cannot be resolved runs nothing and gives 0.
#pragma once

#include <cstdint>

#include "engine/kv_array.h"

// An engine-built list of language definitions, opaque to callers. Lists the engine did not build
// or has freed are taken as empty lists by every call.
struct KV_DEFINITION_LIST;

// A procedure the runtime calls for one statement, given the statement's argument words.
typedef void (*KV_SCRIPT_PROC)(KV_ARRAY<unsigned char>* arguments);

extern "C" {

// Links the definition text of length bytes under name, replacing a language of that name; 1 on
// success, 0 for a malformed text or one whose !EXTERNAL name differs from name.
uint8_t KvVistrelLinkDefinition(const char* name, const char* text, uint32_t length);
// Unlinks every linked definition; lists already built keep their copies.
void KvVistrelUnlinkDefinitions(void);
// A new list holding copies of every linked definition; null when none is linked.
KV_DEFINITION_LIST* KvVistrelBuildDefinitionList(void);
// Frees a list the engine built; null, unknown and already freed lists are ignored.
void KvVistrelFreeDefinitionList(KV_DEFINITION_LIST* list);
// Registers (or replaces) the procedure the runtime calls for statement name of the language;
// 0 for a null name, language or procedure.
uint8_t KvVistrelAddDefinitionProc(const char* language, const char* name, KV_SCRIPT_PROC proc);
// Forgets every registered procedure; linked definitions and lists stay.
void KvVistrelClearDefinitionsProc(void);

// Compiles length bytes of script text into program (its old block is freed); 1 on success, 0 on
// a compile error, leaving the program empty.
uint8_t KvVistrelCompile(KV_ARRAY<unsigned char>* program, const char* text, uint32_t length,
                         KV_DEFINITION_LIST* list);
// The same with the text read from the file at path; 0 when it cannot be read.
uint8_t KvVistrelCompileFile(KV_ARRAY<unsigned char>* program, const char* path,
                             KV_DEFINITION_LIST* list);
// Compiles length bytes of text and writes the program bytes to the file at outPath; 1 on success,
// 0 on a compile error or when the file cannot be written.
uint8_t KvVistrelCompileToFile(const char* text, uint32_t length, const char* outPath,
                               KV_DEFINITION_LIST* list);
// Compiles the script file at sourcePath and writes the program bytes to outPath; 1 on success.
uint8_t KvVistrelCompileFileToFile(const char* sourcePath, const char* outPath,
                                   KV_DEFINITION_LIST* list);
// Runs the program with argBytes bytes of argument words (args may be null with 0), as described
// above; 1 when every statement ran, 0 when nothing ran.
uint8_t KvVistrelExecute(const KV_ARRAY<unsigned char>* program, const uintptr_t* args,
                         uint32_t argBytes, KV_DEFINITION_LIST* list);
// Releases the program's bytes and leaves the array empty; a null array is ignored.
void KvVistrelFree(KV_ARRAY<unsigned char>* program);

}  // extern "C"
