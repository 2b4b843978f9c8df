// Run-time version query, fed from the VERSION file.
#include "VelumiSDK.h"
#include "velumi_version.h"

extern "C" VELUMI_API const char *VELUMI_GET_SDK_VERSION(void) { return VELUMI_VERSION_STRING; }
