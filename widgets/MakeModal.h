#pragma once
// Runs a message loop until told to stop, so that a caller can wait for a window to finish
// without a modal dialog.

class CMakeModal {
public:
    // Dispatches the thread's messages until EndModalLoop is called from one of them, or until
    // the program quits.
    void RunModalLoop();
    // Stops the loop after the message being dispatched.
    void EndModalLoop();

    bool IsDone() const { return m_bDone != 0; }

private:
    int m_bDone = 0;
};
