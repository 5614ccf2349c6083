// The twelve RedrawWindow flags by name, in the order of their values, written once for every test.
#pragma once

#include <cstdint>

struct RedrawFlag {
  std::int32_t Value;
  const char* Name;
};

inline constexpr RedrawFlag RedrawFlags[] = {
    {0x0001, "RDW_INVALIDATE"}, {0x0002, "RDW_INTERNALPAINT"},   {0x0004, "RDW_ERASE"},
    {0x0008, "RDW_VALIDATE"},   {0x0010, "RDW_NOINTERNALPAINT"}, {0x0020, "RDW_NOERASE"},
    {0x0040, "RDW_NOCHILDREN"}, {0x0080, "RDW_ALLCHILDREN"},     {0x0100, "RDW_UPDATENOW"},
    {0x0200, "RDW_ERASENOW"},   {0x0400, "RDW_FRAME"},           {0x0800, "RDW_NOFRAME"},
};

#ifdef _WIN32
#include <windows.h>

static_assert(RedrawFlags[0].Value == RDW_INVALIDATE && RedrawFlags[1].Value == RDW_INTERNALPAINT &&
                  RedrawFlags[2].Value == RDW_ERASE && RedrawFlags[3].Value == RDW_VALIDATE &&
                  RedrawFlags[4].Value == RDW_NOINTERNALPAINT && RedrawFlags[5].Value == RDW_NOERASE &&
                  RedrawFlags[6].Value == RDW_NOCHILDREN && RedrawFlags[7].Value == RDW_ALLCHILDREN &&
                  RedrawFlags[8].Value == RDW_UPDATENOW && RedrawFlags[9].Value == RDW_ERASENOW &&
                  RedrawFlags[10].Value == RDW_FRAME && RedrawFlags[11].Value == RDW_NOFRAME,
              "the flags' values must be the platform's RDW_ constants");
#endif
