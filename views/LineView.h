#pragma once
// What the main frame asks of a list view it shows: rebuild its lines from the database, and
// empty them when the frame goes back to the launcher. The scrolling line views implement it.

class ILineView {
public:
    virtual ~ILineView() = default;
    virtual void SetUpLines() = 0;
    virtual void ClearLines() = 0;
};
