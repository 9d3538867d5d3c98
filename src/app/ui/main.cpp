#include "app/ui/CalvenorApplication.h"

int main(int argc, char** argv)
{
    CalvenorApplication app(argc, argv);
    return app.Run();
}
