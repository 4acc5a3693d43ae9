#pragma once

// A face file opened for drawing: read through a descriptor opened without
// blocking and checked to be a regular file (a named pipe or a device in its
// place is refused, never waited on), mapped, and read by FreeType at its
// index; a face that cannot be set to a pixel size is refused too. Plain C++,
// no Qt.

#include "panel/PanelFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstddef>

namespace norvale {

class OpenedFace {
public:
    OpenedFace() = default;
    OpenedFace(const OpenedFace&) = delete;
    OpenedFace& operator=(const OpenedFace&) = delete;
    ~OpenedFace() { Close(); }

    // Opens file (closing any face opened before); false, and nothing open,
    // when it is not a usable font settable to pixels.
    bool Open(const FontFaceFile& file, int pixels);

    // The open face, or nullptr.
    FT_Face Face() const { return m_face; }

private:
    void Close();

    FT_Library m_library = nullptr;
    FT_Face m_face = nullptr;
    void* m_map = nullptr;
    std::size_t m_size = 0;
};

} // namespace norvale
