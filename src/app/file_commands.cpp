#include "model/undo.h"
#include "app/file_commands.h"

#include <array>

#include "platform/paths.h"

namespace qm::app {

namespace {

bool ExtensionIn(std::string_view path, std::initializer_list<std::string_view> extensions) {
  std::string ext = platform::AsciiLower(platform::ExtensionOf(path));
  for (auto e : extensions)
    if (ext == e) return true;
  return false;
}

constexpr std::string_view kUnnamed = "?.qmd";

}  // namespace

bool IsSnapshotName(std::string_view path) { return IsSnapshotFileName(platform::FileNameOf(path)); }

TFileKind LoadKindOf(std::string_view path) {
  if (IsSnapshotName(path)) return TFileKind::Snapshot;
  if (ExtensionIn(path, {".qmd", ".cad", ".txt"})) return TFileKind::Native;
  if (ExtensionIn(path, {".dxf", ".plt", ".eps", ".rlf", ".cnc"})) return TFileKind::Converter;
  if (ExtensionIn(path, {".pcx", ".tif", ".tiff", ".jpg", ".jpeg", ".bmp", ".png", ".gif"})) return TFileKind::Picture;
  return TFileKind::Unknown;
}

TFileKind SaveKindOf(std::string_view path) {
  if (IsSnapshotName(path)) return TFileKind::Snapshot;
  if (ExtensionIn(path, {".dxf", ".plt"})) return TFileKind::Export;
  return TFileKind::Native;
}

std::string WithDrawingExtension(std::string_view path) {
  std::string result(path);
  if (platform::FileNameOf(path).find('.') == std::string::npos) result += ".qmd";
  return result;
}

bool HasWildcard(std::string_view path) { return path.find_first_of("*?") != std::string_view::npos; }

bool IsSavableName(std::string_view name) { return !name.empty() && !HasWildcard(name); }

int FileErrorMessage(int code, TFileKind kind) {
  if (kind == TFileKind::Picture) {
    if (code == 1 || code == -1) return 109;
    if (code == -2) return 114;
    if (code >= -10 && code <= -3) return 115;
    return 0;
  }
  if (code >= 1 && code <= 5) return 108 + code;
  return 0;
}

std::string WindowCaption(std::string_view currentFileName) {
  if (currentFileName.find('*') != std::string_view::npos) return "Quillmar";
  return "Quillmar-[" + std::string(currentFileName) + "]";
}

TFileCommands::TFileCommands(TDocument& document, TActionLog& actions, TRecentFiles& recent,
                             TFileMessages& messages, TFileDialogs& dialogs)
    : document_(document), actions_(actions), recent_(recent), messages_(messages), dialogs_(dialogs) {}

bool TFileCommands::CloseQuery() {
  if ((!actions_.Modified() && !actions_.ChangePending()) || document_.IsEmpty()) return true;
  switch (messages_.AskSaveChanges()) {
    case TAnswer::Yes:
      // The user repeats the command once the drawing is saved.
      SaveAs();
      return false;
    case TAnswer::No:
      actions_.SetModified(false);
      return true;
    case TAnswer::Cancel:
      break;
  }
  return false;
}

TFileOutcome TFileCommands::NewDrawing() {
  if (!CloseQuery()) return {TFileResult::Cancelled};
  document_.New();
  currentFileName_ = kUnnamed;
  newDrawing_ = true;
  actions_.StartedNewDrawing();
  return {TFileResult::Done, TFileKind::Native};
}

void TFileCommands::RecoveredDrawing() {
  currentFileName_ = kUnnamed;
  actions_.RecoveredDrawing();
}

TFileOutcome TFileCommands::OpenDrawing() {
  bool modifiedBefore = actions_.Modified();
  if (!CloseQuery()) return {TFileResult::Cancelled};
  std::optional<std::string> chosen = dialogs_.ChooseOpenFile();
  if (!chosen) {
    // "No" in the close query gave up the changes only for a drawing that
    // is then replaced.
    actions_.SetModified(modifiedBefore);
    return {TFileResult::Cancelled};
  }
  return OpenAfterQuery(*chosen, modifiedBefore);
}

TFileOutcome TFileCommands::OpenRecent(int k) {
  std::string name = recent_.Name(k);  // a copy: loading reorders the list
  if (name.empty()) return {};
  bool modifiedBefore = actions_.Modified();
  if (!CloseQuery()) return {TFileResult::Cancelled};
  return OpenAfterQuery(name, modifiedBefore);
}

TFileOutcome TFileCommands::OpenCommandLine(std::string_view argument, std::string_view workingDir) {
  if (argument.empty() || HasWildcard(argument)) return {};
  std::string path = workingDir.empty() ? std::string(argument) : platform::ResolveAgainst(workingDir, argument);
  if (!platform::FileExists(WithDrawingExtension(path))) return {};
  bool modifiedBefore = actions_.Modified();
  if (!CloseQuery()) return {TFileResult::Cancelled};
  return OpenAfterQuery(path, modifiedBefore);
}

TFileOutcome TFileCommands::OpenAfterQuery(std::string_view path, bool modifiedBefore) {
  TFileOutcome out = LoadFile(path);
  bool replaced = out.result == TFileResult::Done && out.kind != TFileKind::Picture;
  if (!replaced) actions_.SetModified(modifiedBefore);
  return out;
}

TFileOutcome TFileCommands::LoadFile(std::string_view path) {
  std::string name = WithDrawingExtension(path);
  TFileOutcome out;
  out.kind = LoadKindOf(name);
  if (HasWildcard(name) || !platform::FileExists(name)) {
    out.code = 1;
  } else {
    out.code = document_.Load(name, out.kind);
  }
  if (out.code != 0) {
    messages_.ShowFileError(out.code, FileErrorMessage(out.code, out.kind), false);
    out.result = TFileResult::Failed;
    return out;
  }
  // A drawing saved under another extension ("plan.v2") was read by the
  // drawing reader, recognised by its header.
  if (out.kind == TFileKind::Unknown) out.kind = TFileKind::Native;
  switch (out.kind) {
    case TFileKind::Native:
      // The drawing is the file now: its name, no undo history before it.
      currentFileName_ = name;
      newDrawing_ = false;
      recent_.Add(name);
      actions_.LoadedNativeDrawing();
      break;
    case TFileKind::Converter:
      // An import is not a drawing file: Save must ask for a name.
      currentFileName_ = kUnnamed;
      actions_.RecordAction("Open");
      break;
    case TFileKind::Snapshot:
      actions_.RecordAction("Open");
      break;
    default:  // a background picture is not part of the drawing
      break;
  }
  out.result = TFileResult::Done;
  return out;
}

TFileOutcome TFileCommands::Save() {
  if (!IsSavableName(currentFileName_)) return AskAndSave();
  return SaveNative(currentFileName_);
}

TFileOutcome TFileCommands::SaveAs() {
  if (document_.IsEmpty()) return {};
  return AskAndSave();
}

TFileOutcome TFileCommands::AskAndSave() {
  std::optional<std::string> chosen = dialogs_.ChooseSaveFile(!document_.MarkingShown());
  if (!chosen) return {TFileResult::Cancelled};
  std::string name = WithDrawingExtension(*chosen);
  if (SaveKindOf(name) != TFileKind::Export) return SaveNative(name);
  // An export leaves the drawing's name and state alone.
  TFileOutcome out{TFileResult::Done, TFileKind::Export};
  out.code = document_.Save(name, TFileKind::Export);
  if (out.code != 0) {
    messages_.ShowFileError(out.code, FileErrorMessage(out.code, out.kind), true);
    out.result = TFileResult::Failed;
  }
  return out;
}

TFileOutcome TFileCommands::SaveNative(const std::string& path) {
  // The file will hold the pending change, so it gets its undo step now and
  // nothing is left pending once the drawing is saved.
  actions_.RecordPending("Save");
  document_.PrepareSave();
  TFileOutcome out{TFileResult::Done, IsSnapshotName(path) ? TFileKind::Snapshot : TFileKind::Native};
  out.code = document_.Save(path, out.kind);
  if (out.code != 0) {
    messages_.ShowFileError(out.code, FileErrorMessage(out.code, out.kind), true);
    out.result = TFileResult::Failed;
    return out;
  }
  if (out.kind == TFileKind::Native) {
    currentFileName_ = path;
    newDrawing_ = false;
    actions_.SetModified(false);
    recent_.Add(path);
  }
  return out;
}

}  // namespace qm::app
