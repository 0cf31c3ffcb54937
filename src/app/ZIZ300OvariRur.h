#pragma once
// The application: fixes folders, manufacturer mode and language at start, then
// runs the main window until the user closes it.

#include <memory>

#include "app/AppSettings.h"

namespace kq {

class ZIZ300OvariRur {
public:
    // The whole run; returns the process exit code.
    int InitInstance(int argc, char** argv);

    // Folders, manufacturer mode and language from the current directory.
    static AppSettings StartSettings();
};

}  // namespace kq
