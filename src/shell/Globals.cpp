#include "shell/Globals.h"

Globals& InitialiseGlobals() {
    static Globals globals;
    return globals;
}
