#include "app/ZIZ300OvariRur.h"

int main(int argc, char** argv) {
    kq::ZIZ300OvariRur application;
    return application.InitInstance(argc, argv);
}
