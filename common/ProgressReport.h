#pragma once
// IProgressReport: what a long loop tells whoever shows its progress (the wait box).

class IProgressReport {
public:
    virtual ~IProgressReport() = default;
    // Units of work the progress is counted against.
    virtual void SetTotal(int units) = 0;
    // Units done so far; gives 1 when the user asked to abort, else 0.
    virtual int SetProgress(int done) = 0;
};
