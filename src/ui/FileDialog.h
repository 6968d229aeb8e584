#pragma once
// Open and save dialogs as components: the program sets them up, Execute runs them through the
// event loop, and the chosen file comes back in FileName.

#include <string>
#include <vector>

#include "ui/Component.h"

namespace ui {

enum FileDialogOption : unsigned {
  ofReadOnly = 0x1,
  ofOverwritePrompt = 0x2,
  ofHideReadOnly = 0x4,
  ofPathMustExist = 0x800,
  ofFileMustExist = 0x1000,
  ofCreatePrompt = 0x2000,
  ofEnableSizing = 0x800000,
};

class FileDialog : public Component {
 public:
  enum class Kind { Open, Save };
  FileDialog(Component* owner, std::string name = {}, Kind kind = Kind::Open);
  const char* ClassName() const override {
    return kind_ == Kind::Open ? "TOpenDialog" : "TSaveDialog";
  }

  Kind DialogKind() const { return kind_; }
  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }
  // Descriptions and masks alternating, separated by "|": "Config (*.eep)|*.eep|All|*.*".
  const std::string& Filter() const { return filter_; }
  void SetFilter(std::string filter) { filter_ = std::move(filter); }
  int FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int index) { filterIndex_ = index; }
  const std::string& DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(std::string ext) { defaultExt_ = std::move(ext); }
  const std::string& InitialDir() const { return initialDir_; }
  void SetInitialDir(std::string dir) { initialDir_ = std::move(dir); }
  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string name) { fileName_ = std::move(name); }
  unsigned Options() const { return options_; }
  void SetOptions(unsigned options) { options_ = options; }

  // The filter's pieces: pairs of description and mask.
  struct FilterEntry {
    std::string description;
    std::string mask;
  };
  std::vector<FilterEntry> FilterEntries() const;

  // Runs the dialog modally; true when a file was chosen.
  bool Execute();

 private:
  Kind kind_;
  std::string title_;
  std::string filter_;
  int filterIndex_ = 1;
  std::string defaultExt_;
  std::string initialDir_;
  std::string fileName_;
  unsigned options_ = ofHideReadOnly | ofEnableSizing;
};

}  // namespace ui
