// Reading a PNG picture back through cairo, for checking what a swatch or a rendered drawing shows.
#pragma once
#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>

namespace fendo::test {

class PngImage {
public:
    explicit PngImage(const std::filesystem::path& path)
        : m_surface(cairo_image_surface_create_from_png(path.c_str()), cairo_surface_destroy)
    {
        if (cairo_surface_status(m_surface.get()) != CAIRO_STATUS_SUCCESS) m_surface.reset();
    }
    bool ok() const { return m_surface != nullptr; }
    int width() const { return ok() ? cairo_image_surface_get_width(m_surface.get()) : 0; }
    int height() const { return ok() ? cairo_image_surface_get_height(m_surface.get()) : 0; }
    // The pixel as 0xRRGGBB.
    std::uint32_t rgb(int x, int y) const
    {
        const unsigned char* row =
            cairo_image_surface_get_data(m_surface.get()) + y * cairo_image_surface_get_stride(m_surface.get());
        std::uint32_t pixel;
        std::memcpy(&pixel, row + 4 * x, sizeof pixel);
        return pixel & 0xFFFFFF;
    }
    // Pixels of `colour` in the rectangle [x0, x1) x [y0, y1).
    int count(std::uint32_t colour, int x0, int y0, int x1, int y1) const
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += rgb(x, y) == colour;
        return n;
    }

    // Pixels of any other colour than `colour` in the rectangle.
    int countOther(std::uint32_t colour, int x0, int y0, int x1, int y1) const
    {
        return (x1 - x0) * (y1 - y0) - count(colour, x0, y0, x1, y1);
    }

private:
    std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> m_surface;
};

}  // namespace fendo::test
