#pragma once

#include <filesystem>

#include "core/files/data_file.h"
#include "core/files/install_paths.h"
#include "core/files/language.h"
#include "core/files/version_manager.h"
#include "core/host/prompt.h"
#include "core/radio/program_state.h"
#include "core/radio/radio_data.h"

namespace zt {

// The file name of a document that was never saved or opened.
constexpr const char* kUntitledFileName = "new.dat";
// The initial-data file loaded, without its companion, when no file for the
// current model and band exists.
constexpr const char* kFallbackInitFile = "ZT-958FM_0.dat";

// What the document operations need from the rest of the program.
struct DocumentContext {
    ProgramState& state;                   // current model, band and limits
    Prompt& prompt;                        // messages and the version question
    const InstallPaths& paths;             // program folder (Init/, other installed versions)
    const VersionTable& versions;          // compatible (software, file version) pairs
    TextLookup text;                       // language texts for the version question
    std::filesystem::path executableName;  // the running program's own file name
    ProgramLauncher* launcher = nullptr;   // starts another installed version
    FileOps* files = nullptr;              // null: the real file system
};

// Which initial-data file New looks for.
enum class NewKind {
    Ordinary,    // "<model>_<band>_NEW.dat": a new document
    Initialise,  // "<model>_<band>.dat": the initial-settings command
};

enum class OpenResult {
    Opened,      // the document was replaced by the file
    Refused,     // a message was shown; the document is as it was
    EndProgram,  // the user chose to switch to another installed version
};

// The open document: the working copy every editor changes, the saved copy
// mirroring the file last opened or saved, the file name and the untitled
// flag.
class DocumentStore {
  public:
    DocumentStore();

    RadioDocument& working() { return working_; }
    const RadioDocument& working() const { return working_; }
    const RadioDocument& saved() const { return saved_; }

    const std::filesystem::path& fileName() const { return fileName_; }
    void setFileName(const std::filesystem::path& path) { fileName_ = path; }
    bool isUntitled() const { return untitled_; }
    // After a read from the radio: the file name becomes "new.dat" and the
    // document untitled; the saved copy stays, so the document is modified.
    void markUntitled();

    // A new document: "new.dat", untitled, the built-in defaults in both
    // copies, then the initial-data file of the current model and band over
    // them (or the fallback file without channels). Missing files leave the
    // defaults silently; a damaged one is reported and leaves them too.
    void New(NewKind kind, DocumentContext& ctx);

    // Opens the pair at `path`: version text (9065), compatibility with this
    // version (question; Yes starts the matching version and returns
    // EndProgram), length (9033), channel table (9066), read errors (9002).
    // Everything is read and checked before the document changes; on success
    // both copies hold the file, the current model and band follow it, the
    // file name is `path` and the document is titled.
    OpenResult Open(const std::filesystem::path& path, DocumentContext& ctx);

    // Saves the working copy, with model and band refreshed from the current
    // values, to the pair at `path`; then the saved copy equals it, the file
    // name is `path` and the document is titled. On failure (9002) the files
    // on disk and the document are as they were. A main path ending in "fre"
    // is refused (its companion would be the file itself); callers choosing a
    // new path pass it through saveAsPath first.
    [[nodiscard]] bool Save(const std::filesystem::path& path, DocumentContext& ctx);

    // True when the working copy differs from the saved copy: any record
    // field, the channel count, or any working channel against the saved
    // channel of the same number (texts compared after the cut).
    bool IsModified() const;

  private:
    bool loadInitialData(const std::filesystem::path& file, DocumentContext& ctx);
    void loadFallbackInitialData(DocumentContext& ctx);
    void show(DocumentContext& ctx, int messageId) const;

    RadioDocument working_;
    RadioDocument saved_;
    std::filesystem::path fileName_{kUntitledFileName};
    bool untitled_ = true;
};

// The modified test on two documents (see DocumentStore::IsModified).
bool documentsDiffer(const RadioDocument& working, const RadioDocument& saved);

}  // namespace zt
