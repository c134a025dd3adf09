// Basic platform types of the engine layer (Linux host: TCHAR is char16_t).
#pragma once

#include <cstddef>
#include <cstdint>

typedef std::uint8_t uint8;
typedef std::uint16_t uint16;
typedef std::uint32_t uint32;
typedef std::uint64_t uint64;
typedef std::int8_t int8;
typedef std::int16_t int16;
typedef std::int32_t int32;
typedef std::int64_t int64;

typedef char ANSICHAR;
typedef wchar_t WIDECHAR;
typedef char8_t UTF8CHAR;
typedef char16_t UTF16CHAR;
typedef char16_t TCHAR;
typedef std::size_t SIZE_T;
typedef std::ptrdiff_t PTRINT;
typedef std::size_t UPTRINT;

#define PLATFORM_LINUX 1
#define PLATFORM_WINDOWS 0
#define PLATFORM_MAC 0
#define PLATFORM_TCHAR_IS_CHAR16 1
#define WITH_EDITOR 1
#define WITH_EDITORONLY_DATA 1
#define WITH_DEV_AUTOMATION_TESTS 1
#define UE_BUILD_SHIPPING 0

#define TEXT_PASTE(x) u##x
#define TEXT(x) TEXT_PASTE(x)

#define INDEX_NONE (-1)
#define MAX_int32 ((int32)0x7fffffff)
#define MIN_int32 ((int32)0x80000000)
#define MAX_uint32 ((uint32)0xffffffff)
#define MAX_int64 ((int64)0x7fffffffffffffffLL)
#define MIN_int64 ((int64)0x8000000000000000LL)
#define MAX_uint8 ((uint8)0xff)
#define MAX_flt (3.402823466e+38F)

#define FORCEINLINE inline
#define FORCENOINLINE __attribute__((noinline))
#define UE_NODISCARD [[nodiscard]]
#define UE_DEPRECATED(Version, Message) [[deprecated(Message)]]

// Module API export macros expand to nothing: everything links statically in the host.
#define CORE_API
#define COREUOBJECT_API
#define ENGINE_API
#define JSON_API
#define ORVEXCORE_API
#define ORVEXCONFIG_API
#define ASSETREGISTRY_API
#define DEVELOPERSETTINGS_API
#define UNREALED_API
