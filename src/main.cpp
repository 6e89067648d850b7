// okalu-tafe copies the per-frame OKALU Telvar lens metadata of a VANT file or an R3D clip into
// the headers of EXR files, matching each image to the source's frames by timecode.
#include "Application.hpp"

#include "R3DSDK.hpp"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    // Nothing runs without the decoder library, not even the help text: a tool that prints its
    // help but then cannot read a clip would only postpone the error. The install directory is
    // fixed at build time; "R3DSDKPATH" may name a further directory.
    if (R3DSDK::InitializeSdk(R3DSDK::InstallDirectory, 0) != 0) {
        R3DSDK::FinalizeSdk();
        std::cout << "R3DSDK could not be initialized." << std::endl;
        return Application::failure;
    }

    int status = Application::failure;
    try {
        status = Application::run(argc, const_cast<const char**>(argv));
    } catch (const std::exception& exception) {
        std::cout << exception.what() << "\n";
    }
    R3DSDK::FinalizeSdk();
    return status;
}
