#pragma once
// Shared by the main-window tests: a catalogue beside the test program (which looks for
// its database under its own name, as Kalvo.exe does), and a recorder of message boxes.
#include "tests/store/StoreTestSupport.h"
#include "tools/catalogue/CatalogueSource.h"

#include "framework/ModalSeam.h"
#include "framework/Wnd.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

// The catalogue files the program under test looks for, removed on construction and
// destruction.
class CatalogueBesideProgram
{
public:
    CatalogueBesideProgram();
    ~CatalogueBesideProgram();
    CatalogueBesideProgram(const CatalogueBesideProgram&) = delete;
    CatalogueBesideProgram& operator=(const CatalogueBesideProgram&) = delete;

    std::wstring MdbPath() const { return m_base + L".mdb"; }
    std::wstring DatPath() const { return m_base + L".dat"; }
    void Write(const std::vector<SourceCategory>& categories) const;
    // The file read or written beside the program's own connection, as another program
    // would: the first column of the first row (Int: -1, Double: NaN without a row), every
    // row of both tables as text, or statements run.
    std::int64_t Int(const std::string& sql) const;
    std::string Text(const std::string& sql) const;
    double Double(const std::string& sql) const;
    std::string Dump() const;
    void Execute(const std::string& sql) const;

private:
    void RemoveAll() const;
    std::wstring m_base;
};

// Three categories; "Length" (the second) is marked selected.
std::vector<SourceCategory> SampleCategories();

// Records every message box and gives the answers in order, then `then`.
class ScriptedMessageBoxes
{
public:
    explicit ScriptedMessageBoxes(std::deque<int> answers = {}, int then = IDOK);
    std::vector<MessageBoxRequest> boxes;

private:
    std::deque<int> m_answers;
    ScopedMessageBoxHandler m_handler;
};

// A test over the sample catalogue beside the program, every message box recorded.
class SampleCatalogueTest : public ::testing::Test
{
protected:
    void SetUp() override { catalogue.Write(SampleCategories()); }
    CatalogueBesideProgram catalogue;
    ScriptedMessageBoxes boxes;
};

class CMainDlg;
class CEdit;
class CListCtrl;

// A control of a window by its id, as the window bound it.
template <class TControl> TControl& ControlOf(const CWnd& window, int id)
{
    auto* control = dynamic_cast<TControl*>(window.GetDlgItem(id));
    if (!control)
        throw std::logic_error("no such control: " + std::to_string(id));
    return *control;
}

// The main window's controls.
CListCtrl& CategoryList(const CWnd& dlg);
CListCtrl& UnitList(const CWnd& dlg);
CListCtrl& ResultList(const CWnd& dlg);
CEdit& ValueField(const CWnd& dlg);
CEdit& SourceUnitField(const CWnd& dlg);
CEdit& StatusField(const CWnd& dlg);
// Clicks a button of a window, by its id.
void ClickButton(const CWnd& dlg, int id);
// A button click or a pop-up menu command, as the main window receives it.
void Command(CWnd& dlg, int id);
// A control's window rectangle in its parent's client coordinates.
RECT ClientRectOf(HWND parent, HWND control);
// The main window's own tooltip window, the one that knows its buttons (the framework keeps
// another for the lists' rows).
HWND ButtonToolTips(const CWnd& dlg);

// The texts of a list's column, row by row, and the first selected row (-1 for none).
std::vector<std::wstring> RowTexts(CListCtrl& list, int column = 0);
int SelectedRow(CListCtrl& list);

// The result rows whose text is not the value field's quantity converted into the row's
// unit with the catalogue's factors, each as "unit: shown, not expected".
std::vector<std::wstring> WrongResultRows(CMainDlg& dlg);

// The screen's DPI, read by the tests themselves rather than through the program.
int ScreenDpi();
// A length or coordinate of the 96-DPI layout at the screen's DPI, halves rounded up.
int Scaled(int value);
// A rectangle of the 96-DPI layout at the screen's DPI: its edges scaled, not its size.
RECT ScaledRect(int x, int y, int width, int height);
// Whether `shown` is the colour of the 96-DPI skin bitmap selected into `bitmap` at the
// bitmap's point `at96`: exactly at 96 DPI; at another scale, where the artwork is drawn again
// and a gradient may step elsewhere, within the colours of the point and its neighbours.
bool ShowsSkinColour(COLORREF shown, HDC bitmap, POINT at96);

// Runs one SQL query with a single integer result on a catalogue file.

// How far the window's centre lies from the centre of its monitor's work area, where a
// template with DS_CENTER puts it: the larger of the two distances, in pixels.
long DistanceFromWorkAreaCentre(HWND window);
