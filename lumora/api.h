// Export control for the classes and functions of lumora.dll.
#ifndef LUMORA_API_H
#define LUMORA_API_H

#if defined(_WIN32) && defined(LUMORA_BUILDING_DLL)
#define LUMORA_API __declspec(dllexport)
#elif defined(_WIN32) && !defined(LUMORA_STATIC)
#define LUMORA_API __declspec(dllimport)
#else
#define LUMORA_API
#endif

#endif
