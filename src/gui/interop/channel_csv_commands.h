#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <string>

class QMenu;
class QWidget;

namespace zt::gui {

struct AppContext;

// What the channel list commands ask of the main window.
struct ChannelCsvHooks {
    // Every open window writes the entry it is still editing into the document.
    std::function<void()> commitPendingEdits;
    // Before the document's channels change under them: the windows close, as before a read.
    std::function<void()> closeDocumentWindows;
    // After the change: the windows show the document again, as after a read.
    std::function<void()> documentReplaced;
};

// File > Export channels... and File > Import channels...: channel lists as CHIRP CSV.
// Every question and file dialog goes through the prompt service.
class ChannelCsvCommands : public QObject {
    Q_OBJECT
  public:
    ChannelCsvCommands(AppContext& app, QWidget* owner, ChannelCsvHooks hooks);

    // Asks for the channels (whole document or the shown group) and the file, then
    // writes it in one step: a failed write leaves no file behind and says so.
    void exportChannels();
    // Asks for the file and the way to import, shows the preview and applies the
    // ticked channels as one change when the user confirms; nothing changes otherwise.
    void importChannels();

  private:
    QString csvFilter() const;
    QString suggestedPath() const;
    int shownGroup() const;
    QString shownGroupLabel() const;
    // An error box: the language text, then the file name on its own line.
    void reportFailure(int textId, const std::filesystem::path& file);

    AppContext& app_;
    QWidget* owner_;
    ChannelCsvHooks hooks_;
};

// Adds "Import channels..." and "Export channels..." to the File menu; the commands
// live as long as the owner.
void addChannelCsvItems(QMenu& fileMenu, AppContext& app, QWidget* owner, ChannelCsvHooks hooks);

// The chosen save name with ".csv" added when it has no extension.
std::filesystem::path csvSavePath(const std::filesystem::path& chosen);

// Reads a channel list file; false when it cannot be read or is larger than any
// channel list can be (so a wrongly chosen large file is refused, not loaded).
bool readChannelListFile(const std::filesystem::path& file, std::string& text);

}  // namespace zt::gui
