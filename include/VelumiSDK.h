/*
 * VelumiSDK: host SDK for the Velumi tactile pad.
 */
#ifndef VELUMI_SDK_H
#define VELUMI_SDK_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(VELUMI_BUILDING)
#define VELUMI_API __attribute__((visibility("default")))
#else
#define VELUMI_API
#endif

/* The SDK's version as "MAJOR.MINOR.PATCH"; a static string. */
VELUMI_API const char *VELUMI_GET_SDK_VERSION(void);

#ifdef __cplusplus
}
#endif

#endif /* VELUMI_SDK_H */
