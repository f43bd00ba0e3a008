#include "platform/ui/PrinterDC.h"

#include "platform/host/Path.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/DCQt.h"
#include "platform/ui/RecordingDC.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cctype>
#include <mutex>

namespace ui {

namespace {

PageModel* g_recorder = nullptr;
int g_recorderDpiX = kRecordingDpi;
int g_recorderDpiY = kRecordingDpi;

std::mutex& DefaultMutex()
{
    static std::mutex m;
    return m;
}

std::string& ProgramDefault()
{
    static std::string name;
    return name;
}

// A file name from a document name: letters, digits, space, '-' and '_' kept.
std::string PdfNameFor(const std::string& document)
{
    std::string name;
    for (char c : document) {
        const unsigned char u = static_cast<unsigned char>(c);
        name += (std::isalnum(u) || c == ' ' || c == '-' || c == '_') ? c : '_';
    }
    if (name.empty())
        name = "Document";
    return name + ".pdf";
}

} // namespace

struct PrinterDC::Impl {
    // Recording (test hook).
    RecordingDevice* recorder = nullptr;
    PageModel* model = nullptr;
    // Printing.
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<QPainter> painter;
    std::string pdfPath;  // host path of the PDF being written
    bool inDoc = false;
    bool inPage = false;
    int pages = 0;
};

PrinterDC::PrinterDC() : impl_(std::make_unique<Impl>()) {}

PrinterDC::~PrinterDC()
{
    if (impl_->inDoc)
        EndDoc();
}

std::string PrinterDC::ResolvePrinterName(const std::string& printerName)
{
    std::string name = printerName.substr(0, printerName.find(','));
    if (name.empty() || name == "DEFAULT") {
        name = GetDefaultPrinter();
        if (name.empty())
            name = SystemDefaultPrinter();
    }
    return name;
}

bool PrinterDC::Open(const std::string& printerName)
{
    if (impl_->inDoc)
        return false;
    const std::string name = ResolvePrinterName(printerName);
    if (g_recorder) {
        impl_->model = g_recorder;
        // A letter page at the recorder's resolution.
        auto device = std::make_unique<RecordingDevice>(g_recorder, g_recorderDpiX * 17 / 2,
                                                        g_recorderDpiY * 11, g_recorderDpiX,
                                                        g_recorderDpiY);
        impl_->recorder = device.get();
        ReplaceDevice(std::move(device));
    } else {
        const std::vector<std::string> printers = ListPrinters();
        if (std::find(printers.begin(), printers.end(), name) == printers.end())
            return false;
        impl_->printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (name == kPdfPrinter) {
            impl_->printer->setOutputFormat(QPrinter::PdfFormat);
        } else {
            impl_->printer->setOutputFormat(QPrinter::NativeFormat);
            impl_->printer->setPrinterName(TextToQString(name));
        }
        impl_->painter = std::make_unique<QPainter>();
        ReplaceDevice(
            std::make_unique<PainterDevice>(impl_->painter.get(), impl_->printer.get()));
    }
    printer_ = name;
    open_ = true;
    landscape_ = false;
    return true;
}

bool PrinterDC::IsOpen() const { return open_; }

bool PrinterDC::SetLandscape(bool landscape)
{
    if (!open_ || impl_->inPage)
        return false;
    if (impl_->recorder) {
        impl_->recorder->SetLandscape(landscape);
    } else if (!impl_->printer->setPageOrientation(landscape ? QPageLayout::Landscape
                                                             : QPageLayout::Portrait)) {
        return false;
    }
    landscape_ = landscape;
    return true;
}

void PrinterDC::SetCopies(int copies) { copies_ = std::max(1, copies); }

int PrinterDC::StartDoc(const std::string& documentName)
{
    if (!open_ || impl_->inDoc)
        return -1;
    impl_->pages = 0;
    if (impl_->model) {
        impl_->model->document = documentName;
        impl_->model->printer = printer_;
        impl_->model->copies = copies_;
        impl_->model->documentsStarted++;
        impl_->inDoc = true;
        return 1;
    }
    if (printer_ == kPdfPrinter) {
        FileDialog dialog(false, "pdf", PdfNameFor(documentName), "PDF files (*.pdf)|*.pdf||");
        dialog.SetTitle("Print to PDF file");
        dialog.SetInitialFolder(DocumentsFolder());
        if (dialog.DoModal() != 1)
            return -1;
        std::string host;
        if (!host::ToHostPath(dialog.GetPathName(), host))
            return -1;
        impl_->pdfPath = host;
        impl_->printer->setOutputFileName(QString::fromStdString(host));
    }
    impl_->printer->setDocName(TextToQString(documentName));
    impl_->printer->setCopyCount(copies_);
    impl_->printer->setFullPage(false);
    impl_->inDoc = true;
    return 1;
}

int PrinterDC::StartPage()
{
    if (!impl_->inDoc || impl_->inPage)
        return -1;
    if (impl_->recorder) {
        impl_->recorder->NewPage();
    } else if (impl_->pages == 0) {
        // The painter starts the job and its first page together.
        if (!impl_->painter->begin(impl_->printer.get()))
            return -1;
    } else if (!impl_->printer->newPage()) {
        return -1;
    }
    impl_->inPage = true;
    impl_->pages++;
    return 1;
}

int PrinterDC::EndPage()
{
    if (!impl_->inPage)
        return -1;
    impl_->inPage = false;
    return 1;
}

int PrinterDC::EndDoc()
{
    if (!impl_->inDoc)
        return -1;
    impl_->inPage = false;
    impl_->inDoc = false;
    if (impl_->model) {
        impl_->model->documentsEnded++;
        return 1;
    }
    if (impl_->painter->isActive())
        return impl_->painter->end() ? 1 : -1;
    // A document without pages: Qt writes nothing, as Win32 would print nothing.
    return 1;
}

int PrinterDC::AbortDoc()
{
    if (!impl_->inDoc)
        return -1;
    impl_->inPage = false;
    impl_->inDoc = false;
    if (impl_->model) {
        impl_->model->aborted = true;
        return 1;
    }
    if (impl_->painter->isActive()) {
        impl_->printer->abort();
        impl_->painter->end();
    }
    if (!impl_->pdfPath.empty())
        QFile::remove(QString::fromStdString(impl_->pdfPath));
    return 1;
}

std::vector<std::string> PrinterDC::ListPrinters()
{
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames()) {
        std::string text = TextFromQString(name);
        if (text != kPdfPrinter)
            names.push_back(text);
    }
    names.push_back(kPdfPrinter);
    return names;
}

std::string PrinterDC::SystemDefaultPrinter()
{
    const QString name = QPrinterInfo::defaultPrinterName();
    return name.isEmpty() ? std::string(kPdfPrinter) : TextFromQString(name);
}

std::string PrinterDC::GetDefaultPrinter()
{
    std::lock_guard<std::mutex> lock(DefaultMutex());
    return ProgramDefault();
}

void PrinterDC::SetDefaultPrinter(const std::string& printerName)
{
    std::lock_guard<std::mutex> lock(DefaultMutex());
    ProgramDefault() = printerName == "DEFAULT" ? std::string() : printerName;
}

namespace test {

void SetPrintRecorder(PageModel* model)
{
    g_recorder = model;
    if (model == nullptr) g_recorderDpiX = g_recorderDpiY = kRecordingDpi;
}
void SetPrintRecorderResolution(int dpiX, int dpiY)
{
    g_recorderDpiX = dpiX > 0 ? dpiX : kRecordingDpi;
    g_recorderDpiY = dpiY > 0 ? dpiY : kRecordingDpi;
}
PageModel* GetPrintRecorder() { return g_recorder; }

} // namespace test

} // namespace ui
