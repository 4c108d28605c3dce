// The network view's output commands: printing, the diagram as a picture
// file or on the clipboard, and the network as a case file in the IEEE
// common data format.

#include <exception>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include "clipboard_picture.h"
#include "command_ids.h"
#include "diagram_pictures.h"
#include "model_interface.h"
#include "picture_file.h"
#include "print_commands.h"
#include "prompt_service.h"
#include "qt_picture_rasteriser.h"
#include "replacement_file.h"
#include "tavrin_app.h"
#include "tavrin_doc.h"
#include "tavrin_view.h"

namespace {

const FileFilter kCaseFilters[] = {{"IEEE Common Data Format", "*.cf"}};

// The bytes of a file; nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadWhole(const QString& path) {
    std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

}  // namespace

void CTavrinView::RegisterOutputCommands() {
    RegisterPrintCommands(*this, *this, GetDocument()->Application());
    OnCommand(Command::FileExportPicture, [this] { OnExportPicture(); });
    OnCommand(Command::EditSendToClipboardAsEmf, [this] { OnSendToClipboard(); });
    OnCommand(Command::FileExportIeeeCommonFormat, [this] { OnExportIeeeCommonFormat(); });
}

void CTavrinView::ReportUnwritable(const QString& path) {
    GetDocument()->Application().Prompts().Ask("Cannot create file: " + path, "File Creation Error",
                                               PromptIcon::Warning, PromptButtons::Ok);
}

void CTavrinView::OnExportPicture() {
    IModel* model = Model();
    if (model == nullptr) return;
    CTavrinApp& app = GetDocument()->Application();
    const std::optional<SaveChoice> choice = app.Prompts().SaveFile({}, PictureFilters(), {});
    if (!choice) return;
    const PictureFile file = ChosenPictureFile(*choice);
    QtPictureRasteriser rasteriser;
    try {
        WriteDiagramPicture(*model, file, app.TextMeasurer(), rasteriser);
    } catch (const std::exception&) {
        ReportUnwritable(file.path);
    }
}

void CTavrinView::OnSendToClipboard() {
    IModel* model = Model();
    if (model == nullptr) return;
    CTavrinApp& app = GetDocument()->Application();
    QtPictureRasteriser rasteriser;
    bool put = false;
    try {
        const DiagramMetafile picture = RecordDiagramMetafile(*model, app.TextMeasurer(), rasteriser);
        put = PutPictureOnClipboard(picture.bytes, QSize(picture.size.cx, picture.size.cy));
    } catch (const std::exception&) {
        put = false;
    }
    if (!put) app.Prompts().Ask("Unable to set Clipboard data", {}, PromptIcon::Warning, PromptButtons::Ok);
}

// The solver writes the case where it is told; it goes to a scratch file
// first, so that a case the solver could not finish never replaces a file,
// and only a whole one is put in place.
void CTavrinView::OnExportIeeeCommonFormat() {
    IModel* model = Model();
    if (model == nullptr) return;
    CTavrinApp& app = GetDocument()->Application();
    const std::optional<QString> chosen = app.Prompts().SaveFileName({}, kCaseFilters, {});
    if (!chosen) return;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty()) path += path.endsWith('.') ? "cf" : ".cf";

    QTemporaryFile scratch(QDir::temp().filePath("tavrin_case_XXXXXX.cf"));
    std::optional<std::vector<std::uint8_t>> written;
    if (scratch.open()) {
        scratch.close();
        if (model->RunSolver(nullptr, QFile::encodeName(scratch.fileName()).constData(), nullptr) != 0)
            written = ReadWhole(scratch.fileName());
    }
    try {
        if (!written || written->empty()) throw FileWriteError("the solver wrote no case");
        WriteFileReplacing(QFile::encodeName(path).toStdString(), *written);
    } catch (const std::exception&) {
        ReportUnwritable(path);
    }
}
