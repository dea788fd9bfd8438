#pragma once
// The logged input and clock layer: every loop reads the mouse, the events, the keyboard
// modifiers and the millisecond clock through these calls, never from SDL directly.
//
// Besides passing straight through to SDL, the layer can
//  - replay an input script (VAULTMERE_INPUT_SCRIPT=file): events come from the script and
//    real events are drained and dropped, except a quit request (the window's close button),
//    which is passed on. When the script is used up, input comes from the real devices again;
//  - record the session's input to a script (VAULTMERE_INPUT_RECORD=file), together with the
//    random seed and the time of every presented frame, so that replaying the recording plays
//    the same game. While recording, the clock moves on only when a frame is presented (by the
//    real time that has passed), so that every clock reading of the session is in the file;
//  - run on a fixed frame time (VAULTMERE_FRAME_MS=n): the clock starts at 0 and advances by n
//    milliseconds at every presented frame, and frames do not sleep. Replaying a script turns
//    the fixed frame time on (16 ms unless VAULTMERE_FRAME_MS says otherwise; 0 keeps the real
//    clock), and returns to the real clock, from where the fixed clock stood, once the script
//    and its frame times are used up.
//
// Script format, one command per line, '#' starts a comment:
//   wait MS                      hold the next commands until the clock has advanced MS since
//                                the game first asked for input after the previous command
//   keydown KEY [MODS]           KEY: SDL key name with '_' for blanks ("escape", "a",
//   keyup KEY [MODS]                  "left_shift") or a key number; MODS: shift, ctrl, alt,
//   key KEY [MODS]                    meta joined by '+', e.g. shift+ctrl. The modifiers are
//                                     held while the key is down; left_shift and the other
//                                     modifier keys hold theirs from keydown to keyup
//   move X Y                     mouse motion
//   buttondown BUTTON X Y        BUTTON 1 left, 2 middle, 3 right
//   buttonup BUTTON X Y
//   click BUTTON X Y             down then up
//   quit                         a quit request (the window's close button)
//   seed N                       seed the random generators with N instead of the clock
//   screenshot                   save the current screen (see SetScriptScreenshotTaker)
//   frames MS...                 presented frames advance the clock by these amounts, one
//                                each, in the order written, before the fixed frame time
//                                applies again; MSxN stands for N frames of MS
#include <SDL.h>

#include <string>

Uint32 LoggedGetTicks();
int LoggedPollEvent(SDL_Event* event);
Uint8 LoggedGetMouseState(int* x, int* y);
SDLMod LoggedGetModState();
void CloseInputLog();

// Shows the finished frame through the presenter (by default a flip of the surface) and
// waits 2 ms, or advances the fixed frame clock by one frame.
void PresentFrame(SDL_Surface* surface);
// The routine that shows a finished frame; null restores the plain flip. Start-up sets the
// OpenGL upload here when the video mode was made for it.
using FramePresenter = void (*)(SDL_Surface* surface);
void SetFramePresenter(FramePresenter presenter);
int BlitSurface(SDL_Surface* src, SDL_Rect* srcRect, SDL_Surface* dst, SDL_Rect* dstRect);

// The seed for the random generators: the replayed script's seed when it has one, else the
// clock (the real clock whenever the session runs in real time). A recording writes it down.
Uint32 LoggedRandomSeed();

// Requests to end the program (SIGTERM, SIGINT). The signal handler only raises the flag
// (RequestTermination is safe inside a signal handler); the next LoggedPollEvent, which every
// loop calls at least once a frame, clears it and runs the termination handler.
void RequestTermination();
bool TerminationRequested();
// Hands an event already read (and recorded) back to the input: the next LoggedPollEvent
// calls deliver it again, in the order handed back, before any new event, and without
// recording it a second time. DropUnreadInputEvents forgets them (input flushed).
void UnreadInputEvent(const SDL_Event& event);
void DropUnreadInputEvents();
// After an input script has played to its end, a game without a window (the dummy video
// driver) that is still running this long after, on the game clock, is ended the same way.
constexpr Uint32 kIdleAfterScriptMs = 30000;
using TerminationHandler = void (*)();
// Returns the handler it replaces. Without a handler the flag stays raised.
TerminationHandler SetTerminationHandler(TerminationHandler handler);

// What a script's "screenshot" command runs when the replay reaches it, whichever loop is
// polling: start-up sets the routine that saves the current screen (null skips the command,
// with a line saying so).
using ScriptScreenshotTaker = void (*)();
void SetScriptScreenshotTaker(ScriptScreenshotTaker taker);

// Sets the layer up from the environment; start-up calls it once. Safe to call again.
void InitInputLog();

// Test and tool entry points.
bool OpenInputScript(const std::string& path);       // replay a script file
bool OpenInputScriptText(const std::string& text);   // replay script text
bool OpenInputRecord(const std::string& path);       // record to a file
void SetFixedFrameTime(Uint32 ms);                   // 0 returns to the real clock
void AdvanceFakeClock(Uint32 ms);                    // fixed-frame mode only
bool InputScriptActive();                            // a script is open and not used up
void ResetInputLog();                                // back to plain pass-through

// A tool that answers the game itself: whenever the game asks for input while no script is
// playing, the source is asked for script text, which then plays as a script would ("" gives
// no input this time). Null (the default, and after ResetInputLog) turns it off.
using InputScriptSource = std::string (*)();
void SetInputScriptSource(InputScriptSource source);
