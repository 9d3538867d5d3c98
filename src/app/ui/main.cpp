#include "app/CalvenorCommandLine.h"
#include "app/ui/CalvenorApplication.h"

int main(int argc, char** argv)
{
    if (const std::optional<int> code = CalvenorCommandLine().Answer(argc, argv))
        return *code;
    CalvenorApplication app(argc, argv);
    return app.Run();
}
