// KV_CORE: the one central object of a program. It keeps every resource by name (windows,
// sprites, fonts, cameras, timers, ...), owns the actors, the state sequence, a camera and the
// GUI manager, frees the resources in one tear-down call and drives one frame of the scene.
// The program has exactly one: the global `Core`, built before any game object.
#pragma once

#include <cstdint>

#include "core/actor.h"
#include "app/callback.h"
#include "app/state_machine.h"
#include "app/window.h"
#include "core/camera2d.h"
#include "core/file_record.h"
#include "core/timer.h"
#include "foundation/dictionary.h"
#include "foundation/list.h"
#include "foundation/vector.h"
#include "graphics/camera.h"
#include "graphics/canvas.h"
#include "graphics/dna.h"
#include "graphics/font.h"
#include "graphics/particles.h"
#include "graphics/model.h"
#include "graphics/shader.h"
#include "graphics/sprite.h"
#include "graphics/technique.h"
#include "gui/gui.h"
#include "net/socket.h"

// The members come in groups, one concept each; a group's banner names the .cpp file that
// defines it.
// KV_CORE::FileDialog's modes, and its flags (any combination).
enum KV_FILE_DIALOG : unsigned int {
  KV_DIALOG_OPEN = 10,
  KV_DIALOG_SAVE = 11,
  KV_DIALOG_OVERWRITE_PROMPT = 1,  // ask before replacing a chosen file
  KV_DIALOG_NO_PLACES_BAR = 2,
  KV_DIALOG_MULTIPLE = 4,  // allow several files
  KV_DIALOG_HIDE_READ_ONLY = 8,
};

class KV_CORE {
 public:
  // ---- fields ----
  // DestroyAll (core.cpp) frees the resources among them in a fixed, numbered order.
  typedef KvCore::KV_ACTOR* ACTOR;

  unsigned int idCounter;  // counted by NextActorId
  int screenWidth;         // the desktop size when the core was built
  int screenHeight;
  float screenAspect;                             // screenWidth / screenHeight
  KV_DICTIONARY<ACTOR> pendingActors;             // added this frame, by (group name, id)
  KV_LIST<ACTOR> deleteList;                      // marked for removal this frame
  KV_CAMERA camera;                               // the program's camera
  KV_STATE_MACHINE stateMachine;                  // states, current state, advance, resume
  KV_DICTIONARY<KV_WINDOW> windows;               // top-level windows by name
  KV_DICTIONARY<KV_SPRITE> sprites;               // sprites by name; they own their textures
  KV_DICTIONARY<KV_MODEL> models;                 // 3D models by name
  KV_DICTIONARY<ACTOR> liveActors;                // updated, drawn and found; its counter gives ids
  KV_DICTIONARY<unsigned char*> memoryBlocks;     // raw blocks made with new[], by name
  KV_DICTIONARY<KV_FONT> fonts;                   // fonts by name
  KV_DICTIONARY<KV_TIMER> timers;                 // countdowns by name
  KV_DICTIONARY<KV_CAMERA2D> cameras2D;           // 2D views by name, drawn in order when enabled
  KV_LIST_ITERATOR<KV_CAMERA2D> currentCamera2D;  // the view being drawn; end when none
  KV_DICTIONARY<KV_PARTICLES_ENTRY> particles;    // particle systems by name, free or bound
  KvCore::KV_GUI gui;                             // the GUI manager; inert until given a screen
  KV_DICTIONARY<KV_SHADER> shaders;               // shader program sets by name
  KV_DICTIONARY<KV_CANVAS> canvases;              // render-to-texture canvases by name
  KV_DICTIONARY<KV_TECHNIQUE> techniques;         // compiled technique scripts by name
  KV_DICTIONARY<KV_DNA> softBodies;               // soft bodies by name, drawn after the actors
  KV_DICTIONARY<KV_SOCKET> sockets;               // sockets by name, updated every update frame
  KV_CALLBACK updateHook;                         // called at the start of each update half
  KV_CALLBACK preDrawHook;                        // called at the start of each draw pass
  KV_CALLBACK postDrawHook;                       // called at the end of each draw pass

  // Builds every member (hooks null) and reads the desktop size through a temporary
  // window fitted to the screen.
  KV_CORE();
  // Frees everything (DestroyAll), then the states and the windows.
  ~KV_CORE();
  // A new central object on the heap; null when memory runs out.
  static KV_CORE* Create();
  KV_CORE(const KV_CORE&) = delete;
  KV_CORE& operator=(const KV_CORE&) = delete;
  // The desktop size read when the core was built, and width / height.
  int GetScreenWidth() const;
  int GetScreenHeight() const;
  float GetScreenAspect() const;

  // ---- state sequence (core_states.cpp) ----
  // Each change acts only while the frame loop runs: it points the sequence at the target,
  // ends the running frame loop and returns true; false (nothing changed) when a stop was
  // already requested or there is no target.
  // Target: the first state named name (the id is not compared).
  bool ChangeState(const char* name, unsigned int id = 0);
  // Target: the given state.
  bool ChangeStateTo(KV_LIST_ITERATOR<KV_CALLBACK> target);
  // Target: the state after / before the current one.
  bool NextState();
  bool PrevState();
  // Ends the running frame loop and the sequence, whatever states follow.
  void Quit();

  // ---- windows (core_windows.cpp) ----
  // Each looks the window up by name alone (the id is not compared) and does nothing when no
  // window has that name.
  // Makes the window's render target current with the default render states.
  void ActivateWindow(const char* name, unsigned int id = 0);
  // Places the window in the middle of the screen (moved by the next Apply).
  void CenterWindow(const char* name, unsigned int id = 0);
  // Gives the current render target a 2D camera of the window's size.
  void OrthoWindow(const char* name, unsigned int id = 0);
  // Asks the engine for vertical sync; when refused, the frame loop is limited to the
  // display's refresh rate instead (no limit when off or the rate is unknown).
  void SetVsync(bool on);

  // ---- render states (core_render_states.cpp) ----
  // Sets the draw colour (KV_STATE_DRAW_COLOR) from a packed colour word (red in the low byte).
  void SetColorARGB(uint32_t word);
  // Sets the draw colour (KV_STATE_DRAW_COLOR) from components 0 to 1.
  void SetColor(double r, double g, double b, double a);
  // Sets the clear colour (KV_STATE_CLEAR_COLOR) from a packed colour word and clears the colour
  // buffer.
  void ClearColorARGB(uint32_t word);
  // Sets the clear colour (KV_STATE_CLEAR_COLOR) from components 0 to 1 and clears the colour
  // buffer.
  void ClearColor(double r, double g, double b, double a);
  // Sets the blend factors (KV_STATE_BLEND_FUNC) and the second blend setting, the equation
  // (KV_STATE_BLEND_EQUATION).
  void SetBlend(uint32_t source, uint32_t destination, uint32_t second);
  // Back to KV_BLEND_SRC_ALPHA, KV_BLEND_ONE_MINUS_SRC_ALPHA and KV_BLEND_ADD.
  void SetDefaultBlend();

  // ---- actors and collision queries (core_actors.cpp, motion in core_motion.cpp) ----
  // Hands a heap actor to the core under a group name (nothing looks actors up by it; a
  // longer name than a key holds is cut): it gets the next id and goes live at the end of
  // the frame. Returns the actor; null, changing nothing, for a null actor.
  ACTOR AddActor(const char* group, ACTOR actor);
  // Marks the actor for deletion at the end of the frame; null is ignored.
  void RemoveActor(ACTOR actor);
  // Names the actor (at most 122 characters are kept); nothing for a null actor or name.
  void SetActorName(ACTOR actor, const char* name);
  // True when the actor's name equals name exactly; false for null.
  bool ActorHasName(const KvCore::KV_ACTOR* actor, const char* name) const;
  // The core's own id counter: returns it and counts on; after 0xFFFFFFFE comes 0.
  unsigned int NextActorId();
  // Actors added this frame become live, in the order added.
  void CommitActors();
  // Marked actors that are live are removed and deleted, once each; the marks are dropped.
  void DeleteActors();
  // Orders the live actors greatest depth first; equal depths keep their order.
  void SortActors();
  // 1 when a's depth is greater, -1 when smaller, 0 when equal.
  static int CompareActorDepth(const ACTOR* a, const ACTOR* b);
  // The first live actor named name (any actor for null) that the asker collides with:
  // mode 7 boxes (the asker's shifted by offset's x and y), mode 8 circles. The asker itself
  // is not skipped. Null for another mode, a null asker, a box query by an asker without a
  // sprite, or no hit.
  ACTOR FindCollision(int mode, const KvCore::KV_ACTOR* asker, const char* name,
                      KV_VECTOR_D offset);
  // Moves the actor toward target by speed, stopping on it; nothing for null or speed <= 0.
  void MoveActorTo(ACTOR actor, KV_VECTOR_D target, double speed);
  // Where MoveActorTo would take a position; start itself when speed <= 0.
  KV_VECTOR_D MoveActorToward(KV_VECTOR_D start, KV_VECTOR_D target, double speed);
  // As MoveActorTo, with steps shrinking in proportion to the distance inside radius.
  void ArriveActorAt(ACTOR actor, KV_VECTOR_D target, double speed, double radius);
  // Where ArriveActorAt would take a position; start itself when it would not move.
  KV_VECTOR_D ArriveToward(KV_VECTOR_D start, KV_VECTOR_D target, double speed, double radius);

  // ---- tear-down and per-frame driver (core.cpp) ----
  // Frees every resource but the windows and the states: each actor is deleted once.
  void DestroyAll();
  // One frame of the scene: updates, drawing, then actors go live, marked ones are deleted
  // and timers tick. The update half runs in update-tick frames, the drawing in draw-tick ones.
  void Frame();
  // The update half: the update hook, sockets, every live actor's Update.
  void UpdateActors();
  // One draw pass, or one per enabled 2D camera between its Begin and End.
  void DrawScene();
  // Every timer, by the frame loop's frame time.
  void UpdateTimers();

 private:
  void DrawPass();
  void DrawParticles(KvCore::KV_ACTOR* actor, bool before);

 public:
  // ---- mouse queries (core_mouse.cpp) ----
  // Windows are found by name alone (ids are not compared); a null window name means the
  // screen. The cursor is the input state's last read position unless said otherwise.
  // The cursor in the window's coordinates (screen coordinates for null); 0 for a missing window.
  int GetMouseX(const char* window, unsigned int id = 0);
  int GetMouseY(const char* window, unsigned int id = 0);
  // As GetMouseX / GetMouseY plus the whole part of the 2D camera's view position (the named
  // camera, or the current one for null; no shift without a camera or for a null window).
  int GetMouseXInCamera(const char* window, const char* camera, unsigned int windowId = 0,
                        unsigned int cameraId = 0);
  int GetMouseYInCamera(const char* window, const char* camera, unsigned int windowId = 0,
                        unsigned int cameraId = 0);
  // (x, y, 0, 1) in the window's coordinates; for null the cursor read afresh in screen
  // pixels; (0, 0, 0, 1) for a missing window.
  KV_VECTOR_D GetMousePosition(const char* window, unsigned int id = 0);
  // As GetMousePosition plus the camera's view position (not truncated); chosen as above.
  KV_VECTOR_D GetMousePositionInCamera(const char* window, const char* camera,
                                       unsigned int windowId = 0, unsigned int cameraId = 0);
  // The cursor in the rectangle: in the window's coordinates with right and bottom exclusive,
  // or on the screen (null) with every bound inclusive; false for a missing window.
  bool MouseInRect(int left, int top, int right, int bottom, const char* window,
                   unsigned int id = 0);
  // The button held / pressed / released with the cursor, in the window's coordinates, on the
  // named sprite's quad around the window's origin; position is not used. False for a missing
  // window or sprite.
  bool MouseDownOn(const char* window, const char* sprite, KV_VECTOR_D position, int button,
                   unsigned int windowId = 0, unsigned int spriteId = 0);
  bool MousePressedOn(const char* window, const char* sprite, KV_VECTOR_D position, int button,
                      unsigned int windowId = 0, unsigned int spriteId = 0);
  bool MouseReleasedOn(const char* window, const char* sprite, KV_VECTOR_D position, int button,
                       unsigned int windowId = 0, unsigned int spriteId = 0);

  // ---- system dialogs (core_dialogs.cpp) ----
  // Windows are found by name alone (ids are not compared); a null or missing window gives
  // a dialog without an owner unless said otherwise.
  // A message box over the window; caption null: the window's title, else "Kelvo Core
  // Application". The button chosen (1 OK, 2 Cancel, ...); 0 when no box could be shown.
  int MessageBox(const char* text, const char* caption, unsigned int type, const char* window,
                 unsigned int id = 0);
  // Opens the file through the shell with the parameters; above 32 on success, an error
  // number otherwise; 1, opening nothing, when the named window is missing.
  int ShellOpen(const char* file, const char* parameters, const char* window, unsigned int id = 0);
  // The open (KV_DIALOG_OPEN) or save (KV_DIALOG_SAVE) dialog; filter "desc|pattern|..."; flags
  // from KV_FILE_DIALOG. out = the chosen path, or "" when cancelled, unavailable or for another
  // mode.
  void FileDialog(KV_STRING& out, int mode, const char* filter, const char* title,
                  const char* initialDirectory, unsigned int flags, const char* window,
                  unsigned int id = 0);
  // out := every entry matching the pattern (wildcards "*" and "?"), in the system's order;
  // empty when nothing matches.
  void ListFiles(KV_LIST<KV_FILE_RECORD>& out, const char* pattern);
  // The folder picker; out = the chosen folder, or "" when nothing was chosen.
  void BrowseFolder(KV_STRING& out, const char* title, const char* window, unsigned int id = 0);

 private:
  // The first window named name, whatever its id (core_windows.cpp); null for a null name or
  // when none has it.
  KV_WINDOW* WindowNamed(const char* name);
};

// The program's one central object.
extern KV_CORE Core;
