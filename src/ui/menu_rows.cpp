#include "ui/menu_rows.h"

#include "util/codes.h"

#include <algorithm>
#include <span>

namespace lumora {
namespace {

struct RowText {
  TextPair text;
  int code;
};

// The main functions, in the order of their keys.
constexpr std::array<RowText, kMainMenuRows> kMainRows{{
    {{"Add line             <F1>"_l1, "Lisää viiva            <F1>"_l1}, kCodeAddLine},
    {{" clone          <ctrl+F1>"_l1, " kahdenna         <ctrl+F1>"_l1}, kCodeCloneLine},
    {{"Add filling      <alt+F1>"_l1, "Lisää viivoitus    <alt+F1>"_l1}, kCodeAddFilling},
    {{" area ?        <shift+F1>"_l1, " pinta-ala ?     <shift+F1>"_l1}, kCodeSurfaceArea},
    {{"Add arc              <F2>"_l1, "Lisää kaari            <F2>"_l1}, kCodeAddArc},
    {{" via points     <ctrl+F2>"_l1, " pisteiden kautta <ctrl+F2>"_l1}, kCodeArcViaPoints},
    {{" rounding        <alt+F2>"_l1, " pyöristä nurkka   <alt+F2>"_l1}, kCodeRounding},
    {{"Clip line      <shift+F2>"_l1, "Leikkele viiva   <shift+F2>"_l1}, kCodeClipLine},
    {{"Add text             <F3>"_l1, "Lisää teksti           <F3>"_l1}, kCodeAddText},
    {{"Add measure     <ctrl+F3>"_l1, "Lisää mitta       <ctrl+F3>"_l1}, kCodeAddMeasure},
    {{" angle measure   <alt+F3>"_l1, " kulmamitta        <alt+F3>"_l1}, kCodeAngleMeasure},
    {{"Edit                 <F4>"_l1, "Korjaa                 <F4>"_l1}, kCodeEdit},
    {{"Delete          <ctrl+F4>"_l1, "Poista            <ctrl+F4>"_l1}, kCodeDeleteElements},
    {{" part of line    <alt+F4>"_l1, " viivan osa        <alt+F4>"_l1}, kCodeDeletePartOfLine},
    {{" area          <shift+F4>"_l1, " alue            <shift+F4>"_l1}, kCodeDeleteArea},
    {{"Stretch              <F5>"_l1, "Venytä                 <F5>"_l1}, kCodeStretch},
    {{"Copy            <ctrl+F5>"_l1, "Monista           <ctrl+F5>"_l1}, kCodeCopy},
    {{"Read drawing         <F6>"_l1, "Lue kuva               <F6>"_l1}, kCodeReadDrawing},
    {{" Add part       <ctrl+F6>"_l1, " Lisää osa        <ctrl+F6>"_l1}, kCodeAddPart},
    {{" Add drawing     <alt+F6>"_l1, " Lisää kuva        <alt+F6>"_l1}, kCodeAddDrawing},
    {{"Save                 <F7>"_l1, "Tallenna kuva          <F7>"_l1}, kCodeSave},
    {{" Save part      <ctrl+F7>"_l1, " Tallenna osa     <ctrl+F7>"_l1}, kCodeSavePart},
    {{" Delete all      <alt+F7>"_l1, " Poista kaikki     <alt+F7>"_l1}, kCodeDeleteAll},
    {{" Update texts  <shift+F7>"_l1, " Päivitä tekstit <shift+F7>"_l1}, kCodeUpdateTexts},
    {{"Print                <F8>"_l1, "Tulosta                <F8>"_l1}, kCodePrint},
    {{" scale ?        <ctrl+F8>"_l1, " mittakaava ?     <ctrl+F8>"_l1}, kCodeScale},
    {{" area ?          <alt+F8>"_l1, " alue ?            <alt+F8>"_l1}, kCodePlotArea},
}};

// The help functions: view, snap, cursor and origin keys.
constexpr std::array<RowText, kHelpMenuRows> kHelpRows{{
    {{"Zoom                       <F9>"_l1, "Zoomaus                    <F9>"_l1}, kCodeZoomArea},
    {{" transfer zoom        <ctrl+F9>"_l1, " siirto               <ctrl+F9>"_l1},
     kCodeTransferZoom},
    {{" zoom all                 <F10>"_l1, " koko kuva                <F10>"_l1}, kCodeZoomAll},
    {{" previous zoom       <ctrl+F10>"_l1, " edellinen           <ctrl+F10>"_l1},
     kCodePreviousZoom},
    {{"Layers visibility     <alt+F10>"_l1, "Tasojen näkyvyys      <alt+F10>"_l1}, kCodeLayers},
    {{"Snap: line                <F11>"_l1, "Imut: viivaan             <F11>"_l1}, kCodeSnapLine},
    {{"      point          <ctrl+F11>"_l1, "      pisteeseen     <ctrl+F11>"_l1}, kCodeSnapPoint},
    {{"      intersection    <alt+F11>"_l1, "      leikkaukseen    <alt+F11>"_l1},
     kCodeSnapIntersection},
    {{"      none                <F12>"_l1, "      pois                <F12>"_l1}, kCodeSnapNone},
    {{"Grid size            <ctrl+F12>"_l1, "Askeleen suuruus     <ctrl+F12>"_l1}, kCodeGridSize},
    {{"Cursor size           <alt+F12>"_l1, "Kursorin koko         <alt+F12>"_l1}, kCodeCursorSize},
    {{"Cursor moving angle       <del>"_l1, "Kursorin liikkumiskulma   <del>"_l1}, kCodeDelete},
    {{" horizontal             <pg up>"_l1, " vaakasuoraan           <pg up>"_l1}, kCodeHorizontal},
    {{" vertical             <pg down>"_l1, " pystysuoraan         <pg down>"_l1}, kCodeVertical},
    {{" enter direction       <alt+F9>"_l1, " näytetään suunta      <alt+F9>"_l1},
     kCodeEnterDirection},
    {{"Write coordinates: dx,dy  <ins>"_l1, "Kirjoita koord.: dx,dy    <ins>"_l1}, kCodeWriteDxDy},
    {{"                 x,y <ctrl+ins>"_l1, "                 x,y <ctrl+ins>"_l1}, kCodeWriteXY},
    {{"To origin: dx,dy         <home>"_l1, "Origoon: dx,dy           <home>"_l1},
     kCodeToOriginDxDy},
    {{"           x,y      <ctrl+home>"_l1, "         x,y        <ctrl+home>"_l1}, kCodeToOriginXY},
    {{"Move origin: dx,dy        <end>"_l1, "Origon siirto: dx,dy      <end>"_l1},
     kCodeMoveOriginDxDy},
    {{"             x,y     <ctrl+end>"_l1, "               x,y   <ctrl+end>"_l1},
     kCodeMoveOriginXY},
    {{"Background colour           <§>"_l1, "Näytön väri                 <§>"_l1}, kCodeBackground},
}};

// The action codes every popup variant offers.
constexpr int kPopupBaseRows = 4;
constexpr std::array<RowText, kPopupBaseRows> kPopupBase{{
    {{"Completed     <tab>"_l1, "Valmis         <tab>"_l1}, kCodeTab},
    {{"Undo   <back space>"_l1, "Kumoa   <back space>"_l1}, kCodeBackspace},
    {{"Local origin here "_l1, "Paikall. origo tähän"_l1}, kCodeAltEnd},
    {{"Quit          <esc>"_l1, "Lopetus        <esc>"_l1}, kCodeEsc},
}};

// The alternative finish of the running function, Ctrl+Enter, by variant.
constexpr std::array<TextPair, kPopupVariants> kPopupExtra{{
    {""_l1, ""_l1},
    {"close  <ctrl+enter>"_l1, "sulje   <ctrl+enter>"_l1},
    {"edit   <ctrl+enter>"_l1, "teksti  <ctrl+enter>"_l1},
    {"select <ctrl+enter>"_l1, "valinta <ctrl+enter>"_l1},
    {"back   <ctrl+enter>"_l1, "peruuta <ctrl+enter>"_l1},
}};

void Fill(MenuTable& table, std::span<const RowText> rows, Language language) {
  for (const RowText& row : rows) table.Add(row.text.In(language), row.code);
}

void FillPopup(MenuTable& table, int variant, Language language) {
  const std::span<const RowText> base(kPopupBase);
  Fill(table, base.first(1), language);
  if (variant != kPopupPlain)
    table.Add(kPopupExtra[static_cast<std::size_t>(variant)].In(language), kCodeCtrlEnter);
  Fill(table, base.subspan(1), language);
}

} // namespace

bool MenuTable::Add(std::string_view text, int code) {
  if (Count() >= limit_) return false;
  text = text.substr(0, std::min<std::size_t>(text.size(), kMenuRowBytes));
  texts_.emplace_back(text);
  codes_.push_back(code);
  width_ = std::max(width_, static_cast<int>(text.size()));
  return true;
}

void MenuTable::Clear() {
  texts_.clear();
  codes_.clear();
  width_ = 0;
}

int MenuTable::CodeAt(int index) const {
  return index >= 0 && index < Count() ? codes_[static_cast<std::size_t>(index)] : 0;
}

void BuildMenus(Menus& menus, Language language) {
  menus.main.Clear();
  menus.help.Clear();
  for (MenuTable& table : menus.popup) table.Clear();
  Fill(menus.main, kMainRows, language);
  Fill(menus.help, kHelpRows, language);
  for (int variant = 0; variant < kPopupVariants; ++variant) {
    FillPopup(menus.popup[static_cast<std::size_t>(variant)], variant, language);
  }
  menus.built = true;
  menus.language = language;
}

void EnsureMenus(Menus& menus, Language language) {
  if (!menus.built || menus.language != language) BuildMenus(menus, language);
}

int PopupVariantIndex(int variant) {
  return variant >= 0 && variant < kPopupVariants ? variant : kPopupPlain;
}

const MenuTable& PopupTable(const Menus& menus, int variant) {
  return menus.popup[static_cast<std::size_t>(PopupVariantIndex(variant))];
}

} // namespace lumora
