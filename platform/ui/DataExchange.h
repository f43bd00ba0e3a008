#pragma once
// Dialog data exchange: one DoDataExchange per dialog moves its members to the controls
// (UpdateData(false), done by the base OnInitDialog) and back with validation (UpdateData(true),
// done by the base OnOK). A value that does not parse or is out of range is refused with the
// framework's text ("Please enter an integer.", "Please enter a number.", "Please enter a
// positive integer.", "Please enter an integer between %d and %d.", ...) through ui::MessageBox;
// the focus goes back to the control and UpdateData returns false, so the dialog stays open.
//
//   void DoDataExchange(ui::DataExchange& dx) override {
//       dx.Text(1086, m_nNumber);
//       dx.MinMax(1086, m_nNumber, 1, 9);
//       dx.Text(1001, m_strName, 30);
//       dx.Radio({{1212, 'C'}, {1133, 'R'}, {1132, 'A'}}, m_cMethod);
//   }

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

namespace ui {

class Dialog;

// Thrown by DataExchange::Fail and caught by Dialog::UpdateData, which reports it.
struct DataExchangeError {
    int id;
    std::string message;
};

class DataExchange {
public:
    DataExchange(Dialog& dialog, bool save) : dialog_(dialog), save_(save) {}

    // True when moving control contents into the members (validating).
    bool IsSaving() const { return save_; }
    Dialog& GetDialog() const { return dialog_; }

    // Edit (or any control's) text. maxChars > 0 limits the edit when loading and refuses longer
    // text when saving ("Please enter no more than %d characters.").
    void Text(int id, std::string& value, int maxChars = 0);
    void Text(int id, int& value);       // "%d"; "Please enter an integer."
    void Text(int id, unsigned& value);  // "%u"; "Please enter a positive integer."
    void Text(int id, uint8_t& value);   // 0..255; the integer range message
    void Text(int id, double& value);    // "%.15g"; "Please enter a number."
    void Text(int id, float& value);     // "%.6g"; "Please enter a number."

    // Range checks, after the Text of the same control; only when saving.
    void MinMax(int id, int value, int min, int max);
    void MinMax(int id, unsigned value, unsigned min, unsigned max);
    void MinMax(int id, double value, double min, double max);

    // Check box: 0 unchecked, 1 checked, 2 indeterminate.
    void Check(int id, int& value);
    // Radio group stored as a letter: each button with its letter. Loading checks the button of
    // the value's letter and clears the others (none checked when no letter matches); saving
    // stores the checked button's letter and leaves the value alone when none is checked.
    void Radio(std::initializer_list<std::pair<int, char>> buttons, char& value);
    void Radio(std::initializer_list<std::pair<int, char>> buttons, uint8_t& value);

    // List and combo box selection index (-1 none) and combo text.
    void ListIndex(int id, int& index);
    void ComboIndex(int id, int& index);
    // Loading selects the first line starting with the text (or sets an editable combo's text);
    // saving takes the combo's text.
    void ComboString(int id, std::string& value);

    // For custom exchanges: reports a failure at control `id` and stops the exchange.
    [[noreturn]] void Fail(int id, const std::string& message);

private:
    Dialog& dialog_;
    bool save_;
};

}  // namespace ui
