// KvGuiRunScript: the control script's interpreter. The text is read one word at a time
// (words lie between single spaces), each statement asking for the words it needs; a
// statement that needs a word where the text has ended, or meets a word that breaks its
// grammar, ends the run. The run keeps a selection (the control that property words act
// on), a variable table with the built-in snapshots, and the scan position.
#include "gui/control_script.h"

#include <string>
#include <vector>

#include "app/loop.h"
#include "foundation/dictionary.h"
#include "gui/control.h"
#include "gui/control_script_values.h"

using namespace KvCore::script;
using KvCore::KV_GUI;

namespace {

typedef KV_GUI::CONTROL CONTROL;

const char* const kOperationWords[] = {"set", "add", "subtract", "multiply", "divide"};
const char* const kJoiningWords[] = {"to", "to", "with", "by", "by"};

// The argument a command takes: its kind word and, for numbers, the literal's suffix.
enum ARGUMENT { ARG_NONE, ARG_HALFVECTOR, ARG_HALF, ARG_BOOLEAN, ARG_STRING };

// The value a command receives: the start values stand when no argument of its kind came.
struct ARGUMENT_VALUE {
  KV_VECTOR halfvector;
  float half = 0;
  uint8_t boolean = 0;
  KV_STRING text;
};

// The eight commands, each calling its per-control operation on the selection.
struct COMMAND {
  const char* name;
  ARGUMENT argument;
  void (*call)(KV_GUI& gui, CONTROL* selection, const ARGUMENT_VALUE& value);
};

const COMMAND kCommands[] = {
    {"ScrollSetContentSize", ARG_HALFVECTOR,
     [](KV_GUI& gui, CONTROL* c, const ARGUMENT_VALUE& v) {
       gui.ScrollSetContentSize(c, v.halfvector.x, v.halfvector.y);
     }},
    {"ProgressBarSetPhase", ARG_HALF,
     [](KV_GUI& gui, CONTROL* c, const ARGUMENT_VALUE& v) { gui.ProgressBarSetPhase(c, v.half); }},
    {"SliderSetFactor", ARG_HALF,
     [](KV_GUI& gui, CONTROL* c, const ARGUMENT_VALUE& v) { gui.SliderSetFactor(c, v.half); }},
    {"MenuCollapse", ARG_NONE,
     [](KV_GUI& gui, CONTROL* c, const ARGUMENT_VALUE&) { gui.MenuCollapse(c); }},
    {"MenuExpand", ARG_NONE,
     [](KV_GUI& gui, CONTROL* c, const ARGUMENT_VALUE&) { gui.MenuExpand(c); }},
    {"EditBoxPasswordMode", ARG_BOOLEAN,
     [](KV_GUI& gui, CONTROL* c, const ARGUMENT_VALUE& v) {
       gui.EditBoxPasswordMode(c, v.boolean);
     }},
    {"EditBoxEditMode", ARG_BOOLEAN,
     [](KV_GUI& gui, CONTROL* c, const ARGUMENT_VALUE& v) { gui.EditBoxEditMode(c, v.boolean); }},
    {"EditBoxSetText", ARG_STRING,
     [](KV_GUI& gui, CONTROL* c, const ARGUMENT_VALUE& v) { gui.EditBoxSetText(c, v.text); }},
};

bool StartsWithQuote(const KV_STRING& word) { return word.Length() >= 1 && word.text[0] == '\''; }

bool EndsWithQuote(const KV_STRING& word) {
  unsigned int length = word.Length();
  return length >= 1 && word.text[length - 1] == '\'';
}

// Whether control lies in the manager's tree. The controls-by-name dictionary does not own
// its controls and may still name one that was removed since the last purge, so a name is
// trusted only once the control is found again by walking the tree (its memory is never read
// before then).
bool InTree(KV_GUI& gui, const CONTROL* control) {
  std::vector<const KV_GUI::NODE*> pending{&gui.tree};
  while (!pending.empty()) {
    const KV_GUI::NODE* node = pending.back();
    pending.pop_back();
    if (node != &gui.tree && node->value.Get() == control) return true;
    for (KV_GUI::NODE::ITERATOR it = node->Begin(); !it.IsEnd(); it.Next())
      pending.push_back(it.Get());
  }
  return false;
}

class RUN {
 public:
  RUN(CONTROL* control, const char* script, KV_GUI& gui)
      : own(control), selection(control), gui(gui), text(script) {
    // Line ends count as word breaks; escapes are decoded after that, so an escaped
    // line end stays inside its word.
    text.ReplaceChar('\n', ' ');
    text.ReplaceChar('\r', ' ');
    text.Unescape();
    AddBuiltIns();
  }

  void Execute();

 private:
  CONTROL* own;
  CONTROL* selection;
  KV_GUI& gui;
  KV_STRING text;
  unsigned int position = 0;  // where the next word starts; 0 once no text follows
  bool started = false;       // whether the first word was read
  KV_DICTIONARY<VARIABLE> variables;

  // ---- reading words ----

  // Reads the next word a statement needs; false (the run ends) when no text follows.
  bool Need(KV_STRING& word) {
    if (started && position == 0) return false;
    started = true;
    position = text.Extract(word, " ", position);
    return true;
  }
  bool TextFollows() const { return !started || position != 0; }
  bool NeedQuoted(KV_STRING& out);

  // ---- variables ----
  VARIABLE* Declare(const char* name, int type);
  VARIABLE* Find(const char* name);
  void AddBuiltIns();

  // ---- statements (each false when the run ends) ----
  bool Statement(const KV_STRING& word);
  bool Variable();
  bool Select();
  bool Operation(OPERATION op);
  bool Value(OPERATION op, const TARGET& target);
  bool Do();
  void ReadArguments(ARGUMENT argument, ARGUMENT_VALUE& value);
};

// Quoted text: a plain word as it stands, 'word' without its quotes, or a run of words
// from one opening with a quote to one closing with a quote (or the end of the text),
// joined with single spaces.
bool RUN::NeedQuoted(KV_STRING& out) {
  KV_STRING word;
  if (!Need(word)) return false;
  if (!StartsWithQuote(word)) {
    out = word;
    return true;
  }
  if (word.Length() >= 2 && EndsWithQuote(word)) {
    out.AssignN(word.text + 1, word.Length() - 2);
    return true;
  }
  // Gathered in one growing block: a long quoted text costs time in its length only.
  std::string gathered(word.text + 1);
  while (position != 0) {
    position = text.Extract(word, " ", position);
    gathered += ' ';
    if (EndsWithQuote(word)) {
      gathered.append(word.text, word.Length() - 1);
      break;
    }
    gathered += word.text;
  }
  out = gathered.c_str();
  return true;
}

VARIABLE* RUN::Declare(const char* name, int type) {
  VARIABLE* variable = variables.GetValue(name);
  if (variable != nullptr) variable->type = type;
  return variable;
}

VARIABLE* RUN::Find(const char* name) {
  return variables.Find(KV_DICTIONARY<VARIABLE>::FIND, name).Get();
}

// The built-ins are snapshots taken when the run starts.
void RUN::AddBuiltIns() {
  const KV_LOOP& loop = KV_LOOP::Instance();
  const KV_WINDOW* screen = gui.GetScreen();
  float width = screen != nullptr ? (float)screen->width : 0.0f;
  float height = screen != nullptr ? (float)screen->height : 0.0f;

  Declare("DeltaTime", TYPE_HALF)->half = loop.frameTime;
  Declare("DeltaTimeVector", TYPE_HALFVECTOR)->halfvector =
      KV_VECTOR(loop.frameTime, loop.frameTime, loop.frameTime, 1);
  Declare("SystemTime", TYPE_HALF)->half = loop.previousTime;
  Declare("SystemTimeVector", TYPE_HALFVECTOR)->halfvector =
      KV_VECTOR(loop.previousTime, loop.previousTime, loop.previousTime, 1);
  Declare("WindowWidth", TYPE_HALF)->half = width;
  Declare("WindowHeight", TYPE_HALF)->half = height;
  Declare("WindowSize", TYPE_HALFVECTOR)->halfvector = KV_VECTOR(width, height, 0, 1);
  Declare("WindowName", TYPE_STRING)->text = screen != nullptr ? screen->title : KV_STRING();
}

void RUN::Execute() {
  KV_STRING word;
  while (TextFollows()) {
    bool first = !started;
    position = text.Extract(word, " ", position);
    started = true;
    // A statement word that ends the text is not run, unless it is the script's first.
    if (position == 0 && !first) return;
    if (word.Length() == 0 || word == ";") continue;
    if (!Statement(word)) return;
  }
}

bool RUN::Statement(const KV_STRING& word) {
  if (word == "exit") return false;
  if (word == "variable") return Variable();
  if (word == "select") return Select();
  if (word == "do") return Do();
  for (int op = OP_SET; op <= OP_DIVIDE; ++op)
    if (word == kOperationWords[op]) return Operation((OPERATION)op);
  // Any other word is skipped.
  return true;
}

// "variable" name "as" type: declares name unless it exists; an unknown type word makes
// nothing.
bool RUN::Variable() {
  KV_STRING name, as, type;
  if (!Need(name) || !Need(as) || as != "as" || !Need(type)) return false;
  int code = TypeOfWord(type);
  if (code != TYPE_NONE && Find(name) == nullptr) Declare(name, code);
  return true;
}

bool RUN::Select() {
  KV_STRING word;
  if (!Need(word)) return false;
  if (word == "this") {
    selection = own;
    return true;
  }
  if (word == "parent") {
    // A top-level control's parent is the root control, which is no control of the
    // application's: the run ends as for a control without parent.
    CONTROL* parent = selection->GetParent();
    if (parent == nullptr || parent == gui.GetRoot()) return false;
    selection = parent;
    return true;
  }
  if (word != "by") return true;
  if (!Need(word)) return false;
  if (word != "name") return true;
  KV_STRING name;
  if (!NeedQuoted(name)) return false;
  CONTROL** filed = gui.controls.Find(KV_DICTIONARY<CONTROL*>::FIND_NAME, name).Get();
  if (filed == nullptr || *filed == nullptr || !InTree(gui, *filed)) return false;
  selection = *filed;
  return true;
}

// op target joining-word value.
bool RUN::Operation(OPERATION op) {
  KV_STRING word;
  if (!Need(word)) return false;
  TARGET target;
  if (word == "variable") {
    if (!Need(word)) return false;
    VARIABLE* variable = Find(word);
    if (variable == nullptr) return false;
    target = TARGET{variable->type, variable->Storage()};
  } else {
    target = PropertyOf(selection, word);
  }
  if (!Need(word) || word != kJoiningWords[op]) return false;
  return Value(op, target);
}

bool RUN::Value(OPERATION op, const TARGET& target) {
  KV_STRING kind, value;
  if (!Need(kind)) return false;
  if (kind == "variable") {
    if (!Need(value)) return false;
    VARIABLE* source = Find(value);
    if (source == nullptr) return false;
    Combine(op, target, *source);
  } else if (kind == "string") {
    if (!NeedQuoted(value)) return false;
    ApplyText(op, target, value);
  } else if (kind == "boolean") {
    if (!Need(value)) return false;
    ApplyBoolean(op, target, value == "true" ? 1 : 0);
  } else if (kind == "texture" || kind == "style") {
    if (!NeedQuoted(value)) return false;
    // Found or added by name, whatever the target; only a set into a target of the
    // same kind stores the handle.
    VARIABLE source;
    if (kind == "texture") {
      KV_HANDLE* handle = gui.textures.GetValue(value);
      if (handle == nullptr) return true;
      source.type = TYPE_TEXTURE;
      source.texture = *handle;
    } else {
      KV_GUI::STYLE_HANDLE style = gui.styles.Get(value);
      if (style.IsEnd()) return true;
      source.type = TYPE_STYLE;
      source.style = style;
    }
    if (op == OP_SET) Combine(op, target, source);
  } else if (kind == "flag") {
    if (!Need(value)) return false;
    ApplyFlag(op, target, FlagOfWord(value));
  } else if (kind == "number") {
    if (!Need(value)) return false;
    ApplyNumber(op, target, value);
  }
  return true;
}

// "do" command ["using" kind value ... "now"].
bool RUN::Do() {
  KV_STRING name;
  if (!Need(name)) return false;
  for (const COMMAND& command : kCommands) {
    if (name != command.name) continue;
    ARGUMENT_VALUE value;
    if (command.argument != ARG_NONE && TextFollows()) {
      KV_STRING word;
      Need(word);
      if (word == "using") ReadArguments(command.argument, value);
    }
    command.call(gui, selection, value);
    return true;
  }
  // An unknown command name is skipped like an unknown word.
  return true;
}

// Pairs of a kind word and a value up to "now" or the end of the text. Only the pair in the
// first position can give the command its argument; a word that is no kind takes up a
// position alone.
void RUN::ReadArguments(ARGUMENT argument, ARGUMENT_VALUE& value) {
  KV_STRING kind, word;
  for (int index = 0; TextFollows(); ++index) {
    Need(kind);
    if (kind == "now") return;
    bool first = index == 0;
    if (kind == "number") {
      if (!Need(word)) return;
      // A literal of another type than the argument's is not decoded at all.
      char suffix = word.GetTypeSuffix();
      if (first && argument == ARG_HALFVECTOR && suffix == 'f') {
        float parts[4] = {0, 0, 0, 1};
        word.Decode(parts, 0);
        value.halfvector = KV_VECTOR(parts[0], parts[1], parts[2], parts[3]);
      } else if (first && argument == ARG_HALF && suffix == 'h') {
        word.Decode(&value.half, 0);
      }
    } else if (kind == "boolean") {
      if (!Need(word)) return;
      if (first && argument == ARG_BOOLEAN) value.boolean = word == "true" ? 1 : 0;
    } else if (kind == "string") {
      if (!NeedQuoted(word)) return;
      if (first && argument == ARG_STRING) value.text = word;
    }
  }
}

}  // namespace

void KvGuiRunScript(KV_GUI::CONTROL* control, const char* script, KV_GUI* gui) {
  if (control == nullptr || script == nullptr || gui == nullptr) return;
  RUN run(control, script, *gui);
  run.Execute();
}
