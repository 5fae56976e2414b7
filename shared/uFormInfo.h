// The paper table shared by both drivers and its lookups between paper-list
// positions and paper numbers. All lengths are micrometres.
#pragma once

#include <array>

#include "uWinBase.h"

namespace pixmor {

// One paper; the layout of the platform's FORM_INFO_1 with the paper number
// in the place of the flags. The printable area is always the whole sheet.
struct TPaperForm {
  WORD PaperId;
  LPCWSTR Name;
  DWORD Width;
  DWORD Height;
  DWORD ImageableLeft;
  DWORD ImageableTop;
  DWORD ImageableRight;
  DWORD ImageableBottom;
};

inline constexpr int PaperRowCount = 90;  // row 0 is the empty row
inline constexpr int PaperCount = PaperRowCount - 1;
inline constexpr int MaxPaperNameLength = 30;

namespace detail {
constexpr TPaperForm Form(WORD id, LPCWSTR name, DWORD width, DWORD height) {
  return TPaperForm{id, name, width, height, 0, 0, width, height};
}
}  // namespace detail

inline constexpr std::array<TPaperForm, PaperRowCount> PaperForms = {{
    detail::Form(0, u"NULL", 0, 0),
    detail::Form(1, u"Letter", 215900, 279400),
    detail::Form(2, u"Letter Small", 215900, 279400),
    detail::Form(3, u"Tabloid", 279400, 431800),
    detail::Form(4, u"Ledger", 431800, 279400),
    detail::Form(5, u"Legal", 215900, 355600),
    detail::Form(6, u"Statement", 139700, 215900),
    detail::Form(7, u"Executive", 184150, 266700),
    detail::Form(8, u"A3", 297000, 420000),
    detail::Form(9, u"A4", 210000, 297000),
    detail::Form(10, u"A4 Small", 210000, 297000),
    detail::Form(11, u"A5", 148000, 210000),
    detail::Form(12, u"B4 (JIS)", 257000, 364000),
    detail::Form(13, u"B5 (JIS)", 182000, 257000),
    detail::Form(14, u"Folio", 215900, 330200),
    detail::Form(15, u"Quarto", 215000, 275000),
    detail::Form(16, u"10x14", 254000, 355600),
    detail::Form(17, u"11x17", 279400, 431800),
    detail::Form(18, u"Note", 215900, 279400),
    detail::Form(19, u"Envelope #9", 98425, 225425),
    detail::Form(20, u"Envelope #10", 104775, 241300),
    detail::Form(21, u"Envelope #11", 114300, 263525),
    detail::Form(22, u"Envelope #12", 120650, 279400),
    detail::Form(23, u"Envelope #14", 127000, 292100),
    detail::Form(24, u"C size sheet", 431800, 558800),
    detail::Form(25, u"D size sheet", 558800, 863600),
    detail::Form(27, u"Envelope DL", 110000, 220000),
    detail::Form(28, u"Envelope C5", 162000, 229000),
    detail::Form(29, u"Envelope C3", 324000, 458000),
    detail::Form(30, u"Envelope C4", 229000, 324000),
    detail::Form(31, u"Envelope C6", 114000, 162000),
    detail::Form(32, u"Envelope C65", 114000, 229000),
    detail::Form(33, u"Envelope B4", 250000, 353000),
    detail::Form(34, u"Envelope B5", 176000, 250000),
    detail::Form(35, u"Envelope B6", 176000, 125000),
    detail::Form(36, u"Envelope", 110000, 230000),
    detail::Form(37, u"Envelope Monarch", 98425, 190500),
    detail::Form(38, u"6 3/4 Envelope", 92075, 165100),
    detail::Form(39, u"US Std Fanfold", 377825, 279400),
    detail::Form(40, u"German Std Fanfold", 215900, 304800),
    detail::Form(41, u"German Legal Fanfold", 215900, 330200),
    detail::Form(42, u"B4 (ISO)", 250000, 353000),
    detail::Form(43, u"Japanese Postcard", 100000, 148000),
    detail::Form(44, u"9x11", 228600, 279400),
    detail::Form(45, u"10x11", 254000, 279400),
    detail::Form(46, u"15x11", 381000, 279400),
    detail::Form(47, u"Envelope Invite", 220000, 220000),
    detail::Form(50, u"Letter Extra", 241300, 304800),
    detail::Form(51, u"Legal Extra", 241300, 381000),
    detail::Form(52, u"Tabloid Extra", 304800, 457200),
    detail::Form(53, u"A4 Extra", 235458, 322326),
    detail::Form(54, u"Letter Transverse", 215900, 279400),
    detail::Form(55, u"A4 Transverse", 210000, 297000),
    detail::Form(56, u"Letter Extra Transverse", 241300, 304800),
    detail::Form(57, u"Super A", 227000, 356000),
    detail::Form(58, u"Super B", 305000, 487000),
    detail::Form(59, u"Letter Plus", 215900, 322326),
    detail::Form(60, u"A4 Plus", 210000, 330000),
    detail::Form(61, u"A5 Transverse", 148000, 210000),
    detail::Form(62, u"B5 (JIS) Transverse", 182000, 257000),
    detail::Form(63, u"A3 Extra", 322000, 445000),
    detail::Form(64, u"A5 Extra", 174000, 235000),
    detail::Form(65, u"B5 (ISO) Extra", 201000, 276000),
    detail::Form(66, u"A2", 420000, 594000),
    detail::Form(67, u"A3 Transverse", 297000, 420000),
    detail::Form(68, u"A3 Extra Transverse", 322000, 445000),
    detail::Form(69, u"Japanese Double Postcard", 200000, 148000),
    detail::Form(70, u"A6", 105000, 148000),
    detail::Form(71, u"Japanese Envelope Kaku #2", 240000, 332000),
    detail::Form(72, u"Japanese Envelope Kaku #3", 216000, 277000),
    detail::Form(73, u"Japanese Envelope Chou #3", 120000, 235000),
    detail::Form(74, u"Japanese Envelope Chou #4", 90000, 205000),
    detail::Form(75, u"Letter Rotated", 279400, 215900),
    detail::Form(76, u"A3 Rotated", 420000, 297000),
    detail::Form(77, u"A4 Rotated", 297000, 210000),
    detail::Form(78, u"A5 Rotated", 210000, 148000),
    detail::Form(79, u"B4 (JIS) Rotated", 364000, 257000),
    detail::Form(80, u"B5 (JIS) Rotated", 257000, 182000),
    detail::Form(81, u"Japanese Postcard Rotated", 148000, 100000),
    detail::Form(82, u"Double Japan Postcard Rotated", 148000, 200000),
    detail::Form(83, u"A6 Rotated", 148000, 105000),
    detail::Form(84, u"Japan Envelope Kaku #2 Rotated", 332000, 240000),
    detail::Form(85, u"Japan Envelope Kaku #3 Rotated", 277000, 216000),
    detail::Form(86, u"Japan Envelope Chou #3 Rotated", 235000, 120000),
    detail::Form(87, u"Japan Envelope Chou #4 Rotated", 205000, 90000),
    detail::Form(88, u"B6 (JIS)", 128000, 182000),
    detail::Form(89, u"B6 (JIS) Rotated", 182000, 128000),
    detail::Form(90, u"12x11", 304932, 279521),
    detail::Form(91, u"Japan Envelope You #4", 105000, 235000),
    detail::Form(92, u"Japan Envelope You #4 Rotated", 235000, 105000),
}};

constexpr std::size_t NameLength(LPCWSTR name) {
  std::size_t n = 0;
  while (name[n] != 0) ++n;
  return n;
}

namespace detail {
constexpr bool PaperTableIsSound() {
  if (PaperForms[0].PaperId != 0 || PaperForms[0].Width != 0) return false;
  for (int r = 1; r < PaperRowCount; ++r) {
    if (PaperForms[r].PaperId <= PaperForms[r - 1].PaperId) return false;
    if (NameLength(PaperForms[r].Name) > MaxPaperNameLength) return false;
  }
  return true;
}
}  // namespace detail
static_assert(detail::PaperTableIsSound(), "ascending ids, names of at most 30 characters");
static_assert(PaperForms[26].PaperId == 27 && PaperForms[47].PaperId == 50 &&
              PaperForms[89].PaperId == 92);

// The first row 1..89 whose PaperId equals the argument, or 1 (Letter).
constexpr int PaperRowOf(INT paperId) {
  for (int r = 1; r < PaperRowCount; ++r) {
    if (static_cast<INT>(PaperForms[r].PaperId) == paperId) return r;
  }
  return 1;
}

// The paper-list position of a paper number, or 0 (Letter).
constexpr int PaperIndexOf(INT paperId) {
  for (int r = 1; r < PaperRowCount; ++r) {
    if (static_cast<INT>(PaperForms[r].PaperId) == paperId) return r - 1;
  }
  return 0;
}

// The paper number at a paper-list position, or 1 (Letter).
constexpr INT PaperIdAt(INT index) {
  if (index < 0 || index >= PaperCount) return 1;
  return PaperForms[index + 1].PaperId;
}

constexpr double MicronsToInches(DWORD microns) { return static_cast<double>(microns) / 25400.0; }

}  // namespace pixmor
