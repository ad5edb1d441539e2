// The host application's services that the plug-in calls: the prompt line,
// picking, the document, folders and the post hook. Texts passed in are in
// the ANSI code page (936). None reports an error unless a result is given.
#pragma once

#include <cstdint>

#include "framework/text.h"
#include "framework/text_array.h"
#include "host/geometry.h"
#include "host/host_api.h"
#include "host/path_model.h"

// Host prompt and message numbers.
inline constexpr int kPromptPickPaths = 34667;  // nothing picked yet
inline constexpr int kPromptPickMore = 40253;   // objects already picked
inline constexpr int kPromptCommandEnded = 34685;
inline constexpr int kPromptReadBackStarts = 34691;
inline constexpr int kMessagePathWithoutMoves = 40216;

// Results of HostGetPicked.
inline constexpr int kPickDelivered = 0;
inline constexpr int kPickCancelled = 2001;
inline constexpr int kPickAborted = 2003;
inline constexpr int kPickNoList = 2004;

// Pick states of HostSetPickState: a command sets kPickStatePaths before it
// asks the host to pick tool paths, and kPickStateNone when it is done with
// picking.
inline constexpr int kPickStatePaths = 235;
inline constexpr int kPickStateNone = 0;

// Pick masks and kinds.
inline constexpr std::uint32_t kPickToolPaths = 0x6000000;
inline constexpr std::uint8_t kPickKindPath = 13;          // two- and three-axis paths
inline constexpr std::uint8_t kPickKindFiveAxisPath = 14;  // five-axis paths

// A node of the picked-object list; the host owns the list.
struct PickNode {
  std::uint8_t kind = 0;
  void* object = nullptr;
  PickNode* next = nullptr;
};

// The host's post hook. The host owns it.
class ZUHOST_API PostHook {
 public:
  // Folder for temporary post files; empty means none.
  virtual void GetTempFolder(zu::Text& folder) = 0;
  // Receives the full paths of the code files a post run produced.
  virtual void TakeCodeFiles(zu::TextArray* files) = 0;
  // Non-zero when entry point 1 is to post through the text tool-location
  // file and hand the code files over, instead of its dialog road.
  virtual int IsCodeFileListWanted() = 0;
  // File to which picked objects' frames are appended; empty means no dump.
  virtual void GetPickDumpFile(zu::Text& file) = 0;

 protected:
  ~PostHook() = default;
};

ZUHOST_API void HostShowPrompt(const char* text);
ZUHOST_API void HostShowPromptId(int id);
// The host's own text (UTF-8, as the host keeps its texts) of a prompt or
// message number; empty for unknown numbers.
ZUHOST_API const char* HostPromptText(int id);
// Shows host message `id` in a message box with an OK button.
ZUHOST_API void HostShowMessageId(int id);
ZUHOST_API void HostEndCommand();

ZUHOST_API void HostSetPickState(int code, int reserved1, int reserved2);
ZUHOST_API void HostBeginPick(std::uint32_t mask);
ZUHOST_API int HostHasPicked();
// The picked-object list in `first`; returns kPickDelivered, or one of the
// cancel and no-list codes (then `first` is null).
ZUHOST_API int HostGetPicked(PickNode*& first);
ZUHOST_API void HostEndPick();
ZUHOST_API void HostClearPick();

// Fills `system` (preset to identity by the caller) with the host's current
// coordinate system: the same record layout as a path's work system.
ZUHOST_API void HostGetCurrentCoordSys(ncworkcoordinate& system);
// Hands a finished path to the document, which owns it from then on.
ZUHOST_API void HostAddObject(OrvoPath* path, int reserved);
// Lists (draws) a path of the document.
ZUHOST_API void HostShowObject(OrvoPath* path);

// The host's base folder.
extern ZUHOST_API char HostHomeFolder[260];
ZUHOST_API void HostGetWorkFolder(zu::Text& folder);
// Make `folder` exist (with `levels` 1: its parent must exist).
ZUHOST_API void HostMakeFolder(const char* folder, int levels);
ZUHOST_API void HostFileMgrMakeFolder(const char* folder, int levels);

// The post hook, or null when the host has none.
ZUHOST_API PostHook* HostGetPostHook();
