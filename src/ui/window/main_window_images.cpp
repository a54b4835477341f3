#include "app/job.h"
#include "app/settings.h"
#include "ui/catalogues.h"
#include "ui/themes.h"
#include "ui/window/image_sets.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_parts.h"

namespace {
void SelectOutputFormat(wxBitmapComboBox* combo) {
    int selection = combo->GetCount() > 0 ? 0 : wxNOT_FOUND;
    for (unsigned int item = 0; item < combo->GetCount(); ++item) {
        auto index = static_cast<size_t>(reinterpret_cast<intptr_t>(combo->GetClientData(item)));
        if (index < OfferedOutputFormats.size() && OfferedOutputFormats[index] == Settings.Output.Format)
            selection = static_cast<int>(item);
    }
    combo->SetSelection(selection);
}
}  // namespace

void FillOutputFormatCombo(wxBitmapComboBox* combo, bool withDescription) {
    if (!combo) return;
    combo->Clear();
    for (size_t i = 0; i < OfferedOutputFormats.size(); ++i) {
        const std::string& extension = OfferedOutputFormats[i];
        if (extension.empty()) continue;
        std::string text = UpperAscii(extension);
        if (withDescription) text += " (" + OutputFormatDescription(extension) + ")";
        combo->Append(ToWx(text), MenuIcon("New"), reinterpret_cast<void*>(static_cast<intptr_t>(i)));
    }
    SelectOutputFormat(combo);
}

void RefreshControlImages() {
    MainWindowPartsRecord& parts = MainWindowParts;
    if (parts.convertButton) parts.convertButton->SetBitmap(MainImage("Convert"));
    if (parts.outputFolderCombo)
        for (unsigned int i = 0; i < parts.outputFolderCombo->GetCount(); ++i)
            parts.outputFolderCombo->SetItemBitmap(i, MenuIcon("FavFolder"));
    if (parts.outputFormatCombo)
        for (unsigned int i = 0; i < parts.outputFormatCombo->GetCount(); ++i)
            parts.outputFormatCombo->SetItemBitmap(i, MenuIcon("New"));
}

void ApplyPreferencesToMainWindow() {
    if (!MainWindowParts.frame) return;
    if (InterfaceReload == 2) {
        ApplyTheme(false, false, true);
        BuildToolbar();
    } else if (InterfaceReload == 1) {
        ApplyTheme(true, true, true);
        BuildMenuBar();
        BuildToolbar();
        BuildFieldButtons();
        RefreshControlImages();
    }
    if (InterfaceReload == 1 || InterfaceReload == 2) {
        ApplyMainWindowSizeLimits();
        LayoutMainWindow();
    }
    InterfaceReload = 0;
    if (MainWindowParts.outputFormatCombo) SelectOutputFormat(MainWindowParts.outputFormatCombo);
    if (MainWindowParts.outputFolderCombo &&
        static_cast<int>(MainWindowParts.outputFolderCombo->GetCount()) != Settings.Advanced.OutFoldersNumber)
        RefillOutputFolderCombo();
}
