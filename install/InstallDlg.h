#pragma once
// The installer's one dialog: asks for the installation folder, then puts the distribution zip
// found beside the installer (copied, or rebuilt from a diskette set) into it, extracts it there
// and offers a desktop shortcut.

#include "platform/ui/Dialog.h"

#include <cstdint>
#include <string>

class CInstallDlg : public ui::Dialog {
public:
    enum { IDD = 102 };
    static constexpr int kTargetPathId = 1000;
    static constexpr int kStatusId = 1001;
    static constexpr uint32_t kAboutCommand = 0x10;

    explicit CInstallDlg(ui::Window* parent = nullptr);

    // The folder the distribution zip is looked for in (the installer's own folder).
    void SetSourceFolder(const std::string& folder) { sourceFolder_ = folder; }
    const std::string& GetSourceFolder() const { return sourceFolder_; }
    // The installation folder, as typed and then as checked.
    const std::string& GetTargetPath() const { return targetPath_; }

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    // Runs the installation; a bad target path keeps the dialog open, anything after that ends
    // it with IDOK.
    void OnOK() override;
    // System-menu commands: 0x10 to 0x1F open the about box. True when handled.
    bool OnSysCommand(uint32_t id) override;
    // Minimised, the dialog draws its icon centred; otherwise as any dialog.
    void OnPaint(ui::DC& dc) override;
    // The picture shown while the minimised window is dragged.
    const ui::Icon& OnQueryDragIcon() const { return icon_; }

    // Copies or rebuilds the zip `zipName` of the source folder into the target folder and
    // extracts it there: 0 done, else the failing step's result (already reported).
    int InstallFromZip(const std::string& sourceFolder, const std::string& zipName);

private:
    // Back to the state before Continue: buttons shown, status hidden.
    void ShowButtons(bool show);

    std::string sourceFolder_;
    std::string targetPath_;
    ui::Icon icon_;
};
