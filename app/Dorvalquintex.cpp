// The main program: the ui layer's application object first, then the studio's application.

#include "platform/ui/Application.h"
#include "shell/DorvalquintexApp.h"

int main(int argc, char** argv)
{
    ui::Application application(argc, argv);
    CDorvalquintexApp app;
    return app.Run();
}
