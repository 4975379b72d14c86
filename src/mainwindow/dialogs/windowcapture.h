// The window capture tool: picks a poker-client window, resizes it to one of
// the room's reference sizes, takes a picture of it ("screenshot.bmp" in the
// program folder) and reads client coordinates and colours of points in the
// picture, which the room editors copy.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "mainwindow/editors/pokerroom/model/pokerroommodel.h"
#include "tables/model/variables.h"

namespace kova::mainwindow {

inline constexpr char CapturePictureName[] = "screenshot.bmp";
inline constexpr char SelectWindowFirstText[] = "Select Window First";
inline constexpr char SelectedWindowGoneText[] = "Selected Window not exist!";

class TWindowCapture : public TForm {
    KOVA_CLASS(TWindowCapture, TForm)
public:
    explicit TWindowCapture(TComponent* owner);
    ~TWindowCapture() override;

    TSpeedButton* SpeedButton1 = nullptr;
    TEdit *Edit3 = nullptr, *Edit4 = nullptr;
    TComboBox* SizeComboBox = nullptr;
    TEdit *SizeXEdit = nullptr, *SizeYEdit = nullptr, *SizeX2Edit = nullptr, *SizeY2Edit = nullptr;
    TButton *SetSizeBtn = nullptr, *CaptureWindowBtn = nullptr, *GetColorBtn = nullptr;
    TImage* Image1 = nullptr;
    TEdit *CoordX = nullptr, *CoordY = nullptr, *Red1Edit = nullptr, *Green1Edit = nullptr, *Blue1Edit = nullptr;
    TEdit *Coord2X = nullptr, *Coord2Y = nullptr, *Red2Edit = nullptr, *Green2Edit = nullptr, *Blue2Edit = nullptr;

    int Picking = 0;
    HWND SelectedWindow = nullptr;
    pokerroom::TCaptureOffsets Offsets;

    // Shows the form with the sizes of the room being edited (first one
    // chosen), not picking. Picking captures the mouse for `captureWindow`,
    // whose next press ends it (as does the hook library's report of it).
    void Open(const std::vector<tables::TWindowSize>& sizes, HWND captureWindow);
    // A left button press while picking: the window under the cursor.
    void EndWindowPick();
    // The capture step (the button and F11).
    void CaptureSelectedWindow();
    // The picture's file: absolute, in the program folder.
    std::string PicturePath() const;
    // Client size, chosen point and colour as the editors copy them.
    pokerroom::TCaptureResult Result() const;

    void SpeedButton1Click();
    void CaptureWindowBtnClick() { CaptureSelectedWindow(); }
    void SetSizeBtnClick();
    void SizeComboBoxChange();
    void GetColorBtnClick();
    void Image1MouseDown(int x, int y);
    void Image1MouseMove(int x, int y);

private:
    void StopPicking();
    void SetClientSize(int width, int height);
    void ShowSizes();
    void ShowPoint(int x, int y, TEdit* cx, TEdit* cy, TEdit* r, TEdit* g, TEdit* b);
    HWND captureWindow_ = nullptr;
    std::vector<tables::TWindowSize> sizes_;
};

extern TWindowCapture* WindowCapture;

// F11: the capture step, while the tool is visible.
void CaptureHotKeyPressed();

}  // namespace kova::mainwindow
