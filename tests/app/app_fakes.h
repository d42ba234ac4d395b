#pragma once
// Test doubles for the main window's logic: an undo list that keeps step
// names, a drawing that only counts what was done to it, scripted message
// boxes and file dialogs.
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/actions.h"
#include "app/file_commands.h"

namespace qm::test {

// Steps hold the drawing's "content" at the time they were recorded.
class FakeUndo : public app::TUndoSteps {
 public:
  explicit FakeUndo(const int* content = nullptr) : content_(content) {}
  bool Record(std::string_view name) override {
    if (failRecords) return false;
    steps.resize(static_cast<std::size_t>(index + 1));
    steps.push_back({std::string(name), content_ ? *content_ : 0});
    ++index;
    return true;
  }
  bool Undo() override {
    if (index <= 0) return false;
    --index;
    return true;
  }
  bool Redo() override {
    if (index + 1 >= static_cast<int>(steps.size())) return false;
    ++index;
    return true;
  }
  void ClearAll() override {
    steps.clear();
    index = -1;
    ++clears;
  }
  void SetChangePending(bool p) override { pending = p; }

  std::vector<std::string> Names() const {
    std::vector<std::string> n;
    for (const auto& s : steps) n.push_back(s.name);
    return n;
  }

  struct Step {
    std::string name;
    int content;
  };
  std::vector<Step> steps;
  int index = -1;
  int clears = 0;
  bool pending = false;
  bool failRecords = false;

 private:
  const int* content_;
};

class FakeDocument : public app::TDocument {
 public:
  bool IsEmpty() const override { return empty; }
  bool MarkingShown() const override { return marked; }
  void New() override {
    ++news;
    content = "new";
    empty = true;
  }
  int Load(const std::string& path, app::TFileKind kind) override {
    loads.push_back({path, kind});
    auto it = loadResults.find(path);
    int r = it == loadResults.end() ? 0 : it->second;
    if (r == 0 && kind != app::TFileKind::Picture) {
      content = "loaded " + path;
      empty = false;
    }
    return r;
  }
  int Save(const std::string& path, app::TFileKind kind) override {
    saves.push_back({path, kind});
    auto it = saveResults.find(path);
    return it == saveResults.end() ? 0 : it->second;
  }
  void PrepareSave() override { ++prepared; }

  struct Call {
    std::string path;
    app::TFileKind kind;
  };
  bool empty = false, marked = false;
  std::string content = "drawing";
  int news = 0, prepared = 0;
  std::vector<Call> loads, saves;
  std::map<std::string, int> loadResults, saveResults;
};

class FakeMessages : public app::TFileMessages {
 public:
  app::TAnswer AskSaveChanges() override {
    ++asked;
    if (answers.empty()) return app::TAnswer::Cancel;
    app::TAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  void ShowFileError(int code, int message, bool saving) override { errors.push_back({code, message, saving}); }

  struct Error {
    int code, message;
    bool saving;
  };
  std::deque<app::TAnswer> answers;
  int asked = 0;
  std::vector<Error> errors;
};

class FakeDialogs : public app::TFileDialogs {
 public:
  std::optional<std::string> ChooseOpenFile() override {
    ++opens;
    return openChoice;
  }
  std::optional<std::string> ChooseSaveFile(bool drawingTypeOnly) override {
    saveOffers.push_back(drawingTypeOnly);
    return saveChoice;
  }
  std::optional<std::string> openChoice, saveChoice;
  int opens = 0;
  std::vector<bool> saveOffers;
};

}  // namespace qm::test
