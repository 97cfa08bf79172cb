// The module's string table. Texts are TCVN3 bytes written as escapes so the file stays ASCII; the
// comment before each entry spells it without diacritics.
#include "ui/StringTable.h"

#include <algorithm>
#include <iterator>

namespace fendo::ui {

namespace {

// clang-format off
constexpr StringTableEntry kEntries[] = {
    // \n<Chon doi tuong text hoac diem, polyline,3dPoly de thay doi cao do>/Undo :
    {2, "\n<Ch\xE4n \xAE\xE8i t\xAD\xEEng text ho\xC6" "c \xAEi\xD3m, polyline,3dPoly \xAE\xD3 thay "
        "\xAE\xE6i cao \xAE\xE9>/Undo :"},
    // Hieu chinh Text
    {3, "Hi\xD6u ch\xD8nh Text"},
    // Hieu chinh MText
    {4, "Hi\xD6u ch\xD8nh MText"},
    // Hieu chinh gia tri kich thuoc
    {5, "Hi\xD6u ch\xD8nh gi\xB8 tr\xDE k\xDD" "ch th\xAD\xED" "c"},
    // Hieu chinh thuoc tinh cua block
    {6, "Hi\xD6u ch\xD8nh thu\xE9" "c t\xDDnh c\xF1" "a block"},
    // Thay doi cao do diem
    {8, "Thay \xAE\xE6i cao \xAE\xE9 \xAEi\xD3m"},
    // Thay doi cao do polyline
    {9, "Thay \xAE\xE6i cao \xAE\xE9 polyline"},
    // Thay doi cao do diem,ma diem
    {12, "Thay \xAE\xE6i cao \xAE\xE9 \xAEi\xD3m,m\xB7 \xAEi\xD3m"},
    // \n Chon  chan Taluy:
    {14, "\n Ch\xE4n  ch\xA9n Taluy:"},
    // \n Chon  mep Taluy:
    {15, "\n Ch\xE4n  m\xD0p Taluy:"},
    // \nDiem dau Taluy:
    {16, "\n\xA7i\xD3m \xAE\xC7u Taluy:"},
    // \nDiem cuoi Taluy:
    {17, "\n\xA7i\xD3m cu\xE8i Taluy:"},
    // \nChon pline,3dPolyline can chuyen thanh Spline :
    {18, "\nCh\xE4n pline,3dPolyline c\xC7n chuy\xD3n th\xB5nh Spline :"},
    // \nChon Spline can chuyen thanh pline :
    {19, "\nCh\xE4n Spline c\xC7n chuy\xD3n th\xB5nh pline :"},
    // \nChon Spline can chuyen thanh 3dPolyline:
    {20, "\nCh\xE4n Spline c\xC7n chuy\xD3n th\xB5nh 3dPolyline:"},
    // \nChon duong 3dpolyline:
    {23, "\nCh\xE4n \xAE\xAD\xEAng 3dpolyline:"},
    // \nDiem huong chen:
    {24, "\n\xA7i\xD3m h\xAD\xEDng ch\xCCn:"},
    // \nChon cac line,3dpoly can noi thanh 3dpolyline:
    {25, "\nCh\xE4n c\xB8" "c line,3dpoly c\xC7n n\xE8i th\xB5nh 3dpolyline:"},
    // \nChon taluy can cap nhat:
    {26, "\nCh\xE4n taluy c\xC7n c\xCBp nh\xCBt:"},
    // \nChon doi tuong can tat lop:
    {27, "\nCh\xE4n \xAE\xE8i t\xAD\xEEng c\xC7n t\xBEt l\xEDp:"},
    // Khong chon duoc doi tuong!
    {28, "Kh\xABng ch\xE4n \xAE\xAD\xEE" "c \xAE\xE8i t\xAD\xEEng!"},
    // Khong mo duoc lop!
    {29, "Kh\xABng m\xEB \xAE\xAD\xEE" "c l\xEDp!"},
    // \nChon doi tuong can xoa theo lop:
    {30, "\nCh\xE4n \xAE\xE8i t\xAD\xEEng c\xC7n xo\xB8 theo l\xEDp:"},
    // \nChon doi tuong :
    {31, "\nCh\xE4n \xAE\xE8i t\xAD\xEEng :"},
    // \nChon polyline:
    {33, "\nCh\xE4n polyline:"},
    // \nChon 3dPoly can chuyen thanh pline :
    {34, "\nCh\xE4n 3dPoly c\xC7n chuy\xD3n th\xB5nh pline :"},
    // \nChon pline can chuyen thanh 3dPoly :
    {35, "\nCh\xE4n pline c\xC7n chuy\xD3n th\xB5nh 3dPoly :"},
    // \nChon dim:
    {36, "\nCh\xE4n dim:"},
    // \nChon diem:
    {37, "\nCh\xE4n \xAEi\xD3m:"},
    // \nChon diem do can hieu chinh:
    {38, "\nCh\xE4n \xAEi\xD3m \xAEo c\xC7n hi\xD6u ch\xD8nh:"},
    // \n Chon pline2d can chuyen thanh pline
    {39, "\n Ch\xE4n pline2d c\xC7n chuy\xD3n th\xB5nh pline"},
    // Joint Text va Point
    {41, "Joint Text va Point"},
    // \nChon 3dPoly can chuyen thanh 2d pline :
    {42, "\nCh\xE4n 3dPoly c\xC7n chuy\xD3n th\xB5nh 2d pline :"},
    // Dinh tiep theo
    {43, "\xA7\xD8nh ti\xD5p theo"},
    // Dinh truoc do
    {44, "\xA7\xD8nh tr\xAD\xED" "c \xAE\xE3"},
    // Goc
    {45, "G\xE3" "c"},
    // Khoang cach
    {46, "Kho\xB6ng c\xB8" "ch"},
    // \nChon cac diem can noi theo cao do:
    {47, "\nCh\xE4n c\xB8" "c \xAEi\xD3m c\xC7n n\xE8i theo cao \xAE\xE9:"},
    // \nNhap cao do min:
    {48, "\nNh\xCBp cao \xAE\xE9 min:"},
    // \nNhap cao do max:
    {49, "\nNh\xCBp cao \xAE\xE9 max:"},
    // \nNhap cao do can noi cac diem:
    {50, "\nNh\xCBp cao \xAE\xE9 c\xC7n n\xE8i c\xB8" "c \xAEi\xD3m:"},
    // \nChon cac text can them tien to,hau to:
    {51, "\nCh\xE4n c\xB8" "c text c\xC7n th\xAAm ti\xD2n t\xE8,h\xCBu t\xE8:"},
    // \nChon cac doan thang can thay doi chieu dai(line,pline):
    {52, "\nCh\xE4n c\xB8" "c \xAEo\xB9n th\xBCng c\xC7n thay \xAE\xE6i chi\xD2u d\xB5i(line,pline):"},
    // \nChon cac text can thay the noi dung
    {53, "\nCh\xE4n c\xB8" "c text c\xC7n thay th\xD5 n\xE9i dung"},
    // \nChon duong pline,3dpoly can xuat toa do:
    {55, "\nCh\xE4n \xAE\xAD\xEAng pline,3dpoly c\xC7n xu\xCAt t\xE4" "a \xAE\xAB:"},
    // \nChon cac duong can dao chieu:
    {56, "\nCh\xE4n c\xB8" "c \xAE\xAD\xEAng c\xC7n \xAE\xB6o chi\xD2u:"},
    // \nDung sai chia diem<0.1>:
    {57, "\nDung sai chia \xAEi\xD3m<0.1>:"},
    // \nDung sai/<Pick diem chen>:
    {58, "\nDung sai/<Pick \xAEi\xD3m ch\xCCn>:"},
    // \nChon duong pline,2d,3d can them diem:
    {59, "\nCh\xE4n \xAE\xAD\xEAng pline,2d,3d c\xC7n th\xAAm \xAEi\xD3m:"},
    // \nDung sai them diem<0.5>:
    {60, "\nDung sai th\xAAm \xAEi\xD3m<0.5>:"},
    // \nChon doi tuong de doc layer va tinh cho toan bo doi tuong thuoc layer do:
    {61, "\nCh\xE4n \xAE\xE8i t\xAD\xEEng \xAE\xD3 \xAE\xE4" "c layer v\xB5 t\xDDnh cho to\xB5n b\xE9 \xAE\xE8i t\xAD\xEEng thu\xE9" "c layer "
         "\xAE\xE3:"},
    // \nChon duong pline,2d,3d can loai diem:
    {62, "\nCh\xE4n \xAE\xAD\xEAng pline,2d,3d c\xC7n lo\xB9i \xAEi\xD3m:"},
    // \nDung sai/<Pick diem can loai>:
    {63, "\nDung sai/<Pick \xAEi\xD3m c\xC7n lo\xB9i>:"},
    // \nDung sai loai diem<0.5>:
    {64, "\nDung sai lo\xB9i \xAEi\xD3m<0.5>:"},
    // \nBan kinh duong tron danh dau cac dinh cua pline<%.2f>:
    {65, "\nB\xB8n k\xDDnh \xAE\xAD\xEAng tr\xDFn \xAE\xB8nh d\xCAu c\xB8" "c \xAE\xD8nh c\xF1" "a "
        "pline<%.2f>:"},
    // \nChon cac duong pline,3dpoly can danh dau node:
    {66, "\nCh\xE4n c\xB8" "c \xAE\xAD\xEAng pline,3dpoly c\xC7n \xAE\xB8nh d\xCAu node:"},
    // \nChon cac duong pline can kiem tra cat nhau:
    {67, "\nCh\xE4n c\xB8" "c \xAE\xAD\xEAng pline c\xC7n ki\xD3m tra c\xBEt nhau:"},
    // \nChon duong pline can thay:
    {68, "\nCh\xE4n \xAE\xAD\xEAng pline c\xC7n thay:"},
    // \nChon doan pline thay the:
    {69, "\nCh\xE4n \xAEo\xB9n pline thay th\xD5:"},
    // \nChon doi tuong can chia:
    {70, "\nCh\xE4n \xAE\xE8i t\xAD\xEEng c\xC7n chia:"},
    // \nDiem chia:
    {71, "\n\xA7i\xD3m chia:"},
    // \nChon cac duong pline can xuat chieu dai:
    {72, "\nCh\xE4n c\xB8" "c \xAE\xAD\xEAng pline c\xC7n xu\xCAt chi\xD2u d\xB5i:"},
    // \nChon bang can xuat sang Excel:
    {73, "\nCh\xE4n b\xB6ng c\xC7n xu\xCAt sang Excel:"},
    // \nDiem dat bang:
    {74, "\n\xA7i\xD3m \xAE\xC6t b\xB6ng:"},
};
// clang-format on

constexpr bool isSortedById()
{
    for (std::size_t i = 1; i < std::size(kEntries); ++i)
        if (kEntries[i - 1].id >= kEntries[i].id)
            return false;
    return true;
}
static_assert(isSortedById(), "lookup relies on ascending, unique ids");

}  // namespace

std::span<const StringTableEntry> stringTable()
{
    return kEntries;
}

const char* findStringTableEntry(int id)
{
    const auto it = std::lower_bound(std::begin(kEntries), std::end(kEntries), id,
                                     [](const StringTableEntry& entry, int key) { return entry.id < key; });
    return it != std::end(kEntries) && it->id == id ? it->text : nullptr;
}

}  // namespace fendo::ui
