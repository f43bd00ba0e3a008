#include "platform/ui/CommonDialogs.h"

#include "platform/host/Path.h"
#include "platform/ui/DCQt.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PrinterDC.h"
#include "platform/ui/TestHooks.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QFormLayout>
#include <QSpinBox>
#include <QStandardPaths>

namespace ui {

namespace {

struct DialogHooks {
    test::FileDialogHook file;
    test::ColourDialogHook colour;
    test::FontDialogHook font;
    test::PrintSetupHook printSetup;
};

DialogHooks& TheHooks()
{
    static DialogHooks hooks;
    return hooks;
}

QWidget* DialogParent() { return QApplication::activeWindow(); }

QString HostPathToQString(const std::string& programPath)
{
    std::string host;
    if (programPath.empty() || !host::ToHostPath(programPath, host))
        return {};
    return QString::fromStdString(host);
}

// "Text files (*.txt)" with patterns "*.txt;*.asc" -> "Text files (*.txt *.asc)".
QString QtFilterEntry(const std::string& description, const std::string& patterns)
{
    std::string desc = description;
    const std::size_t open = desc.rfind('(');
    if (open != std::string::npos && desc.find(')', open) != std::string::npos)
        desc.erase(open);
    while (!desc.empty() && desc.back() == ' ')
        desc.pop_back();
    std::string pats = patterns;
    for (char& c : pats)
        if (c == ';')
            c = ' ';
    return TextToQString(desc) + " (" + TextToQString(pats) + ")";
}

} // namespace

std::vector<std::pair<std::string, std::string>> ParseFileFilter(const std::string& filter)
{
    std::vector<std::pair<std::string, std::string>> entries;
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= filter.size()) {
        const std::size_t bar = filter.find('|', pos);
        parts.push_back(filter.substr(pos, bar == std::string::npos ? std::string::npos
                                                                    : bar - pos));
        if (bar == std::string::npos)
            break;
        pos = bar + 1;
    }
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty() && parts[i + 1].empty())
            break;
        entries.emplace_back(parts[i], parts[i + 1]);
    }
    return entries;
}

std::string DocumentsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    std::string out;
    if (!host::FromHostPath(folder.toStdString(), out))
        return {};
    return out;
}

FileDialog::FileDialog(bool open, std::string defaultExt, std::string fileName, std::string filter)
    : open_(open), defaultExt_(std::move(defaultExt)), fileName_(std::move(fileName)),
      filter_(std::move(filter))
{
}

std::string FileDialog::GetFileName() const { return host::FileNamePart(path_); }

std::string FileDialog::GetFileExt() const
{
    const std::string name = GetFileName();
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

int FileDialog::DoModal()
{
    if (TheHooks().file) {
        std::optional<std::string> answer = TheHooks().file(*this);
        if (!answer)
            return 2;
        path_ = *answer;
        return 1;
    }
    test::Hooks& hooks = test::GetHooks();
    if (hooks.scriptFileDialogs) {
        hooks.fileDialogRequests.push_back(
            {!open_, title_,
             host::DirectoryPart(fileName_).empty() ? host::JoinPath(folder_, fileName_) : fileName_,
             filter_});
        if (hooks.fileDialogAnswers.empty()) {
            test::AddFailure("Unexpected file dialog: " + title_);
            return 2;
        }
        const std::string answer = hooks.fileDialogAnswers.front();
        hooks.fileDialogAnswers.pop_front();
        if (answer.empty())
            return 2;
        path_ = answer;
        return 1;
    }

    QFileDialog dialog(DialogParent(), TextToQString(title_));
    dialog.setAcceptMode(open_ ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open_ ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!defaultExt_.empty())
        dialog.setDefaultSuffix(TextToQString(defaultExt_));
    QStringList filters;
    for (const auto& [desc, pats] : ParseFileFilter(filter_))
        filters << QtFilterEntry(desc, pats);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    QString folder = HostPathToQString(folder_);
    QString name = TextToQString(host::FileNamePart(fileName_));
    const std::string nameFolder = host::DirectoryPart(fileName_);
    if (!nameFolder.empty())
        folder = HostPathToQString(nameFolder);
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (!name.isEmpty())
        dialog.selectFile(name);

    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return 2;
        std::string chosen;
        if (!host::FromHostPath(dialog.selectedFiles().first().toStdString(), chosen)) {
            MessageBox("The name of this file holds characters that the program cannot store.\n"
                       "Please choose another name.",
                       MB_OK | MB_ICONEXCLAMATION);
            continue;
        }
        path_ = chosen;
        filterIndex_ = std::max(1, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1);
        return 1;
    }
}

int ColourDialog::DoModal()
{
    if (TheHooks().colour) {
        std::optional<COLORREF> answer = TheHooks().colour(colour_);
        if (!answer)
            return 2;
        colour_ = *answer;
        return 1;
    }
    const QColor chosen = QColorDialog::getColor(ToQColor(colour_), DialogParent());
    if (!chosen.isValid())
        return 2;
    colour_ = FromQColor(chosen);
    return 1;
}

int FontDialog::DoModal()
{
    if (TheHooks().font) {
        std::optional<Font> answer = TheHooks().font(font_);
        if (!answer)
            return 2;
        font_ = *answer;
        return 1;
    }
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, ToQFont(font_), DialogParent());
    if (!ok)
        return 2;
    font_ = FromQFont(chosen);
    return 1;
}

int PrintSetupDialog::DoModal()
{
    if (TheHooks().printSetup) {
        std::optional<PrintSetup> answer = TheHooks().printSetup(setup_);
        if (!answer)
            return 2;
        setup_ = *answer;
        return 1;
    }
    QDialog dialog(DialogParent());
    dialog.setWindowTitle("Print Setup");
    auto* layout = new QFormLayout(&dialog);
    auto* printers = new QComboBox(&dialog);
    for (const std::string& name : PrinterDC::ListPrinters())
        printers->addItem(TextToQString(name));
    const int current = printers->findText(TextToQString(setup_.printer));
    printers->setCurrentIndex(current >= 0 ? current : 0);
    auto* landscape = new QCheckBox("&Landscape", &dialog);
    landscape->setChecked(setup_.landscape);
    auto* copies = new QSpinBox(&dialog);
    copies->setRange(1, 999);
    copies->setValue(std::max(1, setup_.copies));
    layout->addRow("&Printer:", printers);
    layout->addRow("", landscape);
    layout->addRow("&Copies:", copies);
    QComboBox* range = nullptr;
    QSpinBox* from = nullptr;
    QSpinBox* to = nullptr;
    QCheckBox* collate = nullptr;
    if (setup_.offerPages) {
        range = new QComboBox(&dialog);
        range->addItem("All");
        range->addItem("Pages");
        if (setup_.offerSelection) range->addItem("Selection");
        range->setCurrentIndex(std::min(static_cast<int>(setup_.range), range->count() - 1));
        from = new QSpinBox(&dialog);
        from->setRange(1, 9999);
        from->setValue(std::max(1, setup_.fromPage));
        to = new QSpinBox(&dialog);
        to->setRange(1, 9999);
        to->setValue(std::max(1, setup_.toPage));
        collate = new QCheckBox("C&ollate", &dialog);
        collate->setChecked(setup_.collate);
        layout->addRow("Print &range:", range);
        layout->addRow("&From:", from);
        layout->addRow("&To:", to);
        layout->addRow("", collate);
    }
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return 2;
    setup_.printer = TextFromQString(printers->currentText());
    setup_.landscape = landscape->isChecked();
    setup_.copies = copies->value();
    if (range) {
        setup_.range = static_cast<PrintSetup::Range>(range->currentIndex());
        setup_.fromPage = from->value();
        setup_.toPage = std::max(from->value(), to->value());
        setup_.collate = collate->isChecked();
    }
    return 1;
}

namespace test {

void SetFileDialogHook(FileDialogHook hook) { TheHooks().file = std::move(hook); }
void SetColourDialogHook(ColourDialogHook hook) { TheHooks().colour = std::move(hook); }
void SetFontDialogHook(FontDialogHook hook) { TheHooks().font = std::move(hook); }
void SetPrintSetupHook(PrintSetupHook hook) { TheHooks().printSetup = std::move(hook); }
void ClearCommonDialogHooks() { TheHooks() = DialogHooks{}; }

} // namespace test

} // namespace ui
