#pragma once
// CEmployeeView: the person list of teachers and other employees (view 2, menu 106).

#include "views/ContactView.h"

class CEmployeeView : public CContactView {
public:
    static constexpr int kMenuId = 106;

    CEmployeeView();
    static void RegisterMenu();

protected:
    uint32_t HelpContext() const override { return 0x2006A; }
};
