#include "framework/dialogs.h"

#include "framework/forms.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

namespace kova {

namespace {
TDialogResponder g_responder;

HWND ActiveOwner() {
    HWND w = GetActiveWindow();
    if (!w && Application()) w = Application()->Handle();
    return w;
}
}  // namespace

void SetDialogResponder(TDialogResponder responder) { g_responder = std::move(responder); }
bool HasDialogResponder() { return static_cast<bool>(g_responder); }

TDialogAnswer AskDialogResponder(const TDialogRequest& r) {
    if (!g_responder) {
        TDialogAnswer a;
        a.handled = false;
        return a;
    }
    return g_responder(r);
}

int ShowMessageRequest(const TDialogRequest& r) {
    TDialogAnswer a = AskDialogResponder(r);
    if (a.handled) return a.result;
    MSGBOXPARAMSA p{};
    p.cbSize = sizeof p;
    p.hwndOwner = ActiveOwner();
    p.hInstance = GetModuleHandleA(nullptr);
    p.lpszText = r.text.c_str();
    p.lpszCaption = r.caption.c_str();
    p.dwStyle = MessageBoxStyle(r.type, r.buttons) | MB_TASKMODAL;
    // The Help button sends WM_HELP with this topic to the owner window.
    p.dwContextHelpId = static_cast<DWORD_PTR>(static_cast<unsigned>(r.helpContext));
    static_assert(IDOK == mrOk && IDCANCEL == mrCancel && IDABORT == mrAbort && IDRETRY == mrRetry &&
                  IDIGNORE == mrIgnore && IDYES == mrYes && IDNO == mrNo);
    const int result = MessageBoxIndirectA(&p);
    return result == 0 ? mrCancel : result;  // 0: the box could not be shown
}

int MessageDlg(const std::string& text, TMsgDlgType type, std::uint32_t buttons) {
    TDialogRequest r;
    r.kind = TDialogKind::Message;
    r.text = text;
    r.type = type;
    r.buttons = buttons;
    r.caption = Application() ? Application()->Title() : std::string();
    return ShowMessageRequest(r);
}

void ShowMessage(const std::string& text) { MessageDlg(text, mtCustom, mbOK); }

bool SelectDirectory(const std::string& caption, std::string& dir) {
    TDialogRequest r;
    r.kind = TDialogKind::Folder;
    r.caption = caption;
    r.initialDir = dir;
    TDialogAnswer a = AskDialogResponder(r);
    if (a.handled) {
        if (a.result != mrOk) return false;
        dir = a.folder;
        return true;
    }
    BROWSEINFOA bi{};
    bi.hwndOwner = ActiveOwner();
    bi.lpszTitle = caption.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE pidl = SHBrowseForFolderA(&bi);
    if (!pidl) return false;
    char path[MAX_PATH] = {};
    bool ok = SHGetPathFromIDListA(pidl, path) != FALSE;
    CoTaskMemFree(pidl);
    if (ok) dir = path;
    return ok;
}

// --- colour ---------------------------------------------------------------

void TColorDialog::DefineProps(TPropList& L) {
    L.For<TColorDialog>().Color("Color", &TColorDialog::Color, &TColorDialog::SetColor);
}

bool TColorDialog::Execute() {
    TDialogRequest r;
    r.kind = TDialogKind::Color;
    r.color = color_;
    TDialogAnswer a = AskDialogResponder(r);
    if (a.handled) {
        if (a.result != mrOk) return false;
        color_ = a.color;
        return true;
    }
    static COLORREF custom[16] = {};
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = ActiveOwner();
    cc.rgbResult = ColorToRGB(color_);
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&cc)) return false;
    color_ = static_cast<TColor>(cc.rgbResult);
    return true;
}

// --- font -----------------------------------------------------------------

void TFontDialog::DefineProps(TPropList& L) {
    L.For<TFontDialog>()
        .Object("Font", [](TFontDialog* d) -> TObject* { return d->Font(); })
        .Event("OnApply", &TFontDialog::OnApply);
}

bool TFontDialog::Execute() {
    TDialogRequest r;
    r.kind = TDialogKind::Font;
    r.font = &font_;
    TDialogAnswer a = AskDialogResponder(r);
    if (a.handled) {
        if (a.result != mrOk) return false;
        if (!a.fontName.empty()) {
            font_.SetName(a.fontName);
            if (a.fontSize > 0) font_.SetSize(a.fontSize);
            font_.SetColor(a.fontColor);
            font_.SetStyle(a.fontStyle);
        }
        return true;
    }
    LOGFONTA lf{};
    GetObjectA(font_.Handle(), sizeof lf, &lf);
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = ActiveOwner();
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    cf.rgbColors = ColorToRGB(font_.Color());
    if (!ChooseFontA(&cf)) return false;
    // The font takes the chosen description; the handle made to carry it is ours.
    TGdiObject<HFONT> chosen(CreateFontIndirectA(&lf));
    font_.SetHandle(chosen.Get());
    font_.SetColor(static_cast<TColor>(cf.rgbColors));
    return true;
}

// --- files ----------------------------------------------------------------

void TOpenDialog::DefineProps(TPropList& L) {
    L.For<TOpenDialog>()
        .String("FileName", [](TOpenDialog* d) { return d->FileName; },
                [](TOpenDialog* d, const std::string& s) { d->FileName = s; })
        .String("Filter", [](TOpenDialog* d) { return d->Filter; },
                [](TOpenDialog* d, const std::string& s) { d->Filter = s; })
        .String("DefaultExt", [](TOpenDialog* d) { return d->DefaultExt; },
                [](TOpenDialog* d, const std::string& s) { d->DefaultExt = s; })
        .String("InitialDir", [](TOpenDialog* d) { return d->InitialDir; },
                [](TOpenDialog* d, const std::string& s) { d->InitialDir = s; })
        .String("Title", [](TOpenDialog* d) { return d->Title; },
                [](TOpenDialog* d, const std::string& s) { d->Title = s; });
}

bool TOpenDialog::Execute() {
    TDialogRequest r;
    r.kind = IsSave() ? TDialogKind::Save : TDialogKind::Open;
    r.caption = Title;
    r.fileName = FileName;
    r.initialDir = InitialDir;
    r.filter = Filter;
    r.defaultExt = DefaultExt;
    TDialogAnswer a = AskDialogResponder(r);
    if (a.handled) {
        if (a.result != mrOk) return false;
        FileName = a.fileName;
        return true;
    }
    // "Ini files|*.ini" -> "Ini files\0*.ini\0\0"
    std::string filter = Filter;
    for (char& c : filter)
        if (c == '|') c = '\0';
    filter.push_back('\0');
    filter.push_back('\0');
    std::vector<char> file(32768, '\0');
    std::strncpy(file.data(), FileName.c_str(), file.size() - 1);
    std::string ext = DefaultExt;
    while (!ext.empty() && (ext[0] == '*' || ext[0] == '.')) ext.erase(0, 1);
    OPENFILENAMEA of{};
    of.lStructSize = sizeof of;
    of.hwndOwner = ActiveOwner();
    of.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    of.lpstrFile = file.data();
    of.nMaxFile = static_cast<DWORD>(file.size());
    of.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    of.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    of.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    of.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (IsSave() ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    BOOL ok = IsSave() ? GetSaveFileNameA(&of) : GetOpenFileNameA(&of);
    if (!ok) return false;
    FileName = file.data();
    return true;
}

}  // namespace kova
