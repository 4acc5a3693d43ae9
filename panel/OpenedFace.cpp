#include "panel/OpenedFace.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace norvale {

bool OpenedFace::Open(const FontFaceFile& file, int pixels) {
    Close();
    if (file.index < 0 || file.index > 0xFFFF) {
        return false; // -1 only asks how many faces there are
    }
    const int fd = ::open(file.path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat status {};
    if (fd >= 0 && ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        m_size = static_cast<std::size_t>(status.st_size);
        void* map = ::mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE, fd, 0);
        m_map = map == MAP_FAILED ? nullptr : map;
    }
    if (fd >= 0) {
        ::close(fd);
    }
    if (m_map == nullptr || FT_Init_FreeType(&m_library) != 0 ||
        FT_New_Memory_Face(m_library, static_cast<const FT_Byte*>(m_map),
                           static_cast<FT_Long>(m_size), file.index, &m_face) != 0 ||
        m_face->num_glyphs <= 0 ||
        FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(pixels)) != 0) {
        Close();
        return false;
    }
    return true;
}

void OpenedFace::Close() {
    if (m_face != nullptr) {
        FT_Done_Face(m_face);
        m_face = nullptr;
    }
    if (m_library != nullptr) {
        FT_Done_FreeType(m_library);
        m_library = nullptr;
    }
    if (m_map != nullptr) {
        ::munmap(m_map, m_size);
        m_map = nullptr;
    }
}

} // namespace norvale
