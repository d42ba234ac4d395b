#pragma once
// The main window's commands as data: every menu item with its caption,
// shortcut, tool button and hint, and the rules that enable, check and show
// them from facts about the drawing and the window. The Qt window builds its
// menus and buttons from this table and mirrors the states.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qm::app {

enum class TCommandId : std::uint8_t {
  // File
  FileNew, FileOpen, FileSave, FileSaveAs, FilePrint, FilePrinterSetup, FileExit,
  RecentFile1, RecentFile2, RecentFile3, RecentFile4, RecentFile5,
  // Edit
  Undo, Redo, Cut, Copy, Paste, Delete, UnmarkAll, ResetActivity, ChainMarked, Measure,
  // View
  ZoomAll, ZoomDouble, ZoomHalf, ZoomWindow, ZoomPrevious, ZoomSelected,
  ViewFilled, ViewGrid, ViewDraftToolBox, ViewTextToolBox, ViewFontEditor, Arrows, ShowPicture,
  // Layers
  AddLayer, EmptyLayer, ShowAllLayers, HideAllLayers, ShowActiveLayer,
  // Transform
  Combine, Translate, Rotate, Scale, Mirror, Stretch, Parallel, Ridge, Shadow,
  // System
  SystemSorvel, SystemImgel, SystemTornak, CustomizeToolbars, SystemOptions,
  // Help
  HelpContents, HelpSearch, HelpHowToUse, HelpAbout,
  // The layer tab strip's pop-up menu
  LayerVisible, LayerSetColor, LayerSetName, LayerAdd, LayerRemove,
  Count
};
inline constexpr std::size_t kCommandCount = static_cast<std::size_t>(TCommandId::Count);

enum class TMenu : std::uint8_t { File, Edit, View, Layers, Transform, System, Help, LayerPopup };

// What a command needs of the program. A command whose feature is not in the
// facts' feature set is shown but disabled; each step of building switches
// its feature on.
enum class TFeature : std::uint8_t {
  Shell,       // files, undo, zooms, layers, settings, companions, help, tool bars
  Printing,    // print and printer setup
  Marking,     // the marking frame and unmarking
  Exchange,    // chains and the mail-box clipboard: cut, copy, paste, chain marked
  DraftTools,  // the drafting tool box and its delete tool
  Grid,        // the grid dialog
  Measure,     // the measuring cube
  Text,        // the text tool box
  FontEditor,  // the font editor
  Picture,     // the view's background picture
  Transforms,  // translate, rotate, scale, mirror
  Processing,  // the external engines: combine, parallel, ridge, shadow
  Stretch,     // the stretch envelope
};
using TFeatureSet = std::uint32_t;
constexpr TFeatureSet FeatureBit(TFeature f) { return TFeatureSet{1} << static_cast<unsigned>(f); }
// What works once the main window exists: the window itself and the view's
// background picture.
inline constexpr TFeatureSet kShellFeatures = FeatureBit(TFeature::Shell) | FeatureBit(TFeature::Picture);
inline constexpr TFeatureSet kAllFeatures = (FeatureBit(TFeature::Stretch) << 1) - 1;

struct TCommand {
  TCommandId id;
  TMenu menu;
  std::string_view item;        // component name of the menu item ("FileNewItem")
  std::string_view caption;     // the caption with its "&" ("&New"); the recent files' is the file name
  std::string_view shortcut;    // portable key text ("Ctrl+N", "Shift+Alt+Backspace", "Del"), "" for none
  std::string_view button;      // the tool button that runs the same handler ("SBFileNew"), "" for none
  std::int32_t buttonTag;       // the button's tag in the toolbar layout file, 0 for none
  std::string_view fixedHint;   // the button's own hint; "" when it follows the item's caption
  TFeature feature;
  bool records;                 // ends with one undo step named ActionName()
};

const std::array<TCommand, kCommandCount>& CommandTable();
const TCommand& Command(TCommandId id);
const TCommand* FindCommandByItem(std::string_view item);
const TCommand* FindCommandByButton(std::string_view button);
const TCommand* FindCommandByButtonTag(std::int32_t tag);
// The tags of all tool buttons in ascending order.
const std::array<std::int32_t, 50>& ButtonTags();

// The hint of the command's tool button: its own, or the (possibly
// translated) caption reduced; `caption` empty means the table's caption.
std::string ButtonHint(const TCommand& command, std::string_view caption = {});
// The name of the undo step the command records ("Save &As..." → "Save As";
// the recent files record "Open").
std::string ActionName(const TCommand& command);

// Facts about the drawing and the window that the states depend on.
struct TCommandFacts {
  TFeatureSet features = kShellFeatures;
  bool closing = false;
  bool marked = false;             // the marking frame is shown
  bool textOpen = false;           // the text tool box is visible
  bool drawingEmpty = true;        // no entity in any layer and no paragraph of text
  int layerCount = 0;
  bool activeLayerVisible = true;
  bool canUndo = false, canRedo = false;  // as the undo list says
  bool sketcherShown = false;
  bool fontEditorShown = false;
  bool filled = false;             // the layout draws filled
  bool showArrows = false;
  bool pictureExists = false, pictureShown = false;
  std::array<bool, 5> recentFileShown{};  // the recent item has a name
};

struct TCommandState {
  bool enabled = false;
  bool checked = false;
  bool visible = true;
};

struct TCommandStates {
  std::array<TCommandState, kCommandCount> commands{};
  bool anchorButtonEnabled = false;     // the drafting tool box's anchor button
  bool draftTextButtonEnabled = false;  // the drafting tool box's text button
  const TCommandState& operator[](TCommandId id) const { return commands[static_cast<std::size_t>(id)]; }
};

// The command states of UpdateCommands. Tool buttons take the state of
// their command.
TCommandStates ComputeCommandStates(const TCommandFacts& facts);

// Status panel 3: "W: 10.0000 H: 5.0000" for a drawing of 10 by 5 units,
// empty for empty extents.
std::string SizePanelText(bool extentsEmpty, double width, double height);

}  // namespace qm::app
