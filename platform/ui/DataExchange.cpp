#include "platform/ui/DataExchange.h"

#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/RadioButton.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace ui {

namespace {

std::string Trimmed(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

// Whole text as a signed decimal integer, blanks around allowed.
bool ParseLong(const std::string& text, long long& out)
{
    const std::string t = Trimmed(text);
    if (t.empty()) return false;
    errno = 0;
    char* end = nullptr;
    out = std::strtoll(t.c_str(), &end, 10);
    return errno == 0 && end && *end == '\0' && end != t.c_str();
}

bool ParseDouble(const std::string& text, double& out)
{
    const std::string t = Trimmed(text);
    if (t.empty()) return false;
    errno = 0;
    char* end = nullptr;
    out = std::strtod(t.c_str(), &end);
    return errno != ERANGE && end && *end == '\0' && end != t.c_str();
}

std::string Printf(const char* fmt, double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

}  // namespace

void DataExchange::Fail(int id, const std::string& message) { throw DataExchangeError{id, message}; }

void DataExchange::Text(int id, std::string& value, int maxChars)
{
    if (!save_) {
        if (maxChars > 0)
            if (auto* e = dialog_.Edit(id)) e->SetLimitText(maxChars);
        dialog_.SetDlgItemText(id, value);
        return;
    }
    std::string text = dialog_.GetDlgItemText(id);
    if (maxChars > 0 && static_cast<int>(text.size()) > maxChars)
        Fail(id, "Please enter no more than " + std::to_string(maxChars) + " characters.");
    value = std::move(text);
}

void DataExchange::Text(int id, int& value)
{
    if (!save_) {
        dialog_.SetDlgItemText(id, std::to_string(value));
        return;
    }
    long long v = 0;
    if (!ParseLong(dialog_.GetDlgItemText(id), v) || v < INT32_MIN || v > INT32_MAX)
        Fail(id, "Please enter an integer.");
    value = static_cast<int>(v);
}

void DataExchange::Text(int id, unsigned& value)
{
    if (!save_) {
        dialog_.SetDlgItemText(id, std::to_string(value));
        return;
    }
    long long v = 0;
    const std::string t = Trimmed(dialog_.GetDlgItemText(id));
    if (t.empty() || t[0] == '-' || !ParseLong(t, v) || v < 0 || v > UINT32_MAX)
        Fail(id, "Please enter a positive integer.");
    value = static_cast<unsigned>(v);
}

void DataExchange::Text(int id, uint8_t& value)
{
    if (!save_) {
        dialog_.SetDlgItemText(id, std::to_string(value));
        return;
    }
    long long v = 0;
    if (!ParseLong(dialog_.GetDlgItemText(id), v) || v < 0 || v > 255)
        Fail(id, "Please enter an integer between 0 and 255.");
    value = static_cast<uint8_t>(v);
}

void DataExchange::Text(int id, double& value)
{
    if (!save_) {
        dialog_.SetDlgItemText(id, Printf("%.15g", value));
        return;
    }
    double v = 0;
    if (!ParseDouble(dialog_.GetDlgItemText(id), v)) Fail(id, "Please enter a number.");
    value = v;
}

void DataExchange::Text(int id, float& value)
{
    if (!save_) {
        dialog_.SetDlgItemText(id, Printf("%.6g", value));
        return;
    }
    double v = 0;
    if (!ParseDouble(dialog_.GetDlgItemText(id), v)) Fail(id, "Please enter a number.");
    value = static_cast<float>(v);
}

void DataExchange::MinMax(int id, int value, int min, int max)
{
    if (save_ && (value < min || value > max))
        Fail(id, "Please enter an integer between " + std::to_string(min) + " and " +
                     std::to_string(max) + ".");
}

void DataExchange::MinMax(int id, unsigned value, unsigned min, unsigned max)
{
    if (save_ && (value < min || value > max))
        Fail(id, "Please enter an integer between " + std::to_string(min) + " and " +
                     std::to_string(max) + ".");
}

void DataExchange::MinMax(int id, double value, double min, double max)
{
    if (save_ && (value < min || value > max))
        Fail(id, "Please enter a number between " + Printf("%.15g", min) + " and " +
                     Printf("%.15g", max) + ".");
}

void DataExchange::Check(int id, int& value)
{
    if (!save_) dialog_.CheckDlgButton(id, value);
    else value = dialog_.IsDlgButtonChecked(id);
}

void DataExchange::Radio(std::initializer_list<std::pair<int, char>> buttons, char& value)
{
    if (!save_) {
        for (const auto& [id, letter] : buttons)
            if (auto* r = dialog_.Radio(id)) r->SetCheck(letter == value ? 1 : 0);
        return;
    }
    for (const auto& [id, letter] : buttons) {
        if (auto* r = dialog_.Radio(id); r && r->GetCheck()) {
            value = letter;
            return;
        }
    }
}

void DataExchange::Radio(std::initializer_list<std::pair<int, char>> buttons, uint8_t& value)
{
    char c = static_cast<char>(value);
    Radio(buttons, c);
    value = static_cast<uint8_t>(c);
}

void DataExchange::ListIndex(int id, int& index)
{
    ListBox* l = dialog_.List(id);
    if (!l) return;
    if (!save_) l->SetCurSel(index);
    else index = l->GetCurSel();
}

void DataExchange::ComboIndex(int id, int& index)
{
    ComboBox* c = dialog_.Combo(id);
    if (!c) return;
    if (!save_) c->SetCurSel(index);
    else index = c->GetCurSel();
}

void DataExchange::ComboString(int id, std::string& value)
{
    ComboBox* c = dialog_.Combo(id);
    if (!c) return;
    if (save_) {
        value = c->GetWindowText();
    } else if (c->IsEditable()) {
        c->SetWindowText(value);
    } else if (c->SelectString(-1, value) == CB_ERR) {
        c->SetCurSel(-1);
    }
}

}  // namespace ui
