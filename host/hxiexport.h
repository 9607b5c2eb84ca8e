#pragma once

// The plug-in library is built with hidden symbols; what other modules link
// or load by name carries this mark.
#if defined(_WIN32)
#  define HXI_EXPORT __declspec(dllexport)
#else
#  define HXI_EXPORT __attribute__((visibility("default")))
#endif
