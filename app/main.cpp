#include "tolmeri_app.h"

int main(int argc, char** argv) {
    CTolmeriApp app;
    return app.Run(argc, argv);
}
