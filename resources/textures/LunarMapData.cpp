// The lunar map's bytes, taken into the object file by the assembler: half a
// megabyte written out as a C++ array would take far longer to compile.
// NORVALE_LUNAR_MAP_FILE is the map's path, set by resources/textures.cmake.
#include "resources/textures/LunarMapData.h"

__asm__(".section .rodata\n"
        ".global norvale_lunar_map_bmp\n"
        ".global norvale_lunar_map_bmp_end\n"
        ".balign 16\n"
        "norvale_lunar_map_bmp:\n"
        ".incbin \"" NORVALE_LUNAR_MAP_FILE "\"\n"
        "norvale_lunar_map_bmp_end:\n"
        ".previous\n");
