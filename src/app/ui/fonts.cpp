#include "app/ui/fonts.h"

#include <QStringList>

namespace kestrova::ui {
namespace {

const QStringList kCjkFallbacks = {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Source Han Sans SC",
                                   "Droid Sans Fallback"};

QStringList Families(FontFace face) {
  switch (face) {
    case FontFace::YaHei: return QStringList{"微软雅黑", "Microsoft YaHei"} + kCjkFallbacks;
    case FontFace::NSimSun: return QStringList{"新宋体", "NSimSun", "SimSun"} + kCjkFallbacks;
    case FontFace::Window:
    case FontFace::SongTi: break;
  }
  return QStringList{"宋体", "SimSun"} + kCjkFallbacks;
}

QFont Make(const QStringList& families, double points, bool bold) {
  QFont font;
  font.setFamilies(families);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

}  // namespace

QFont FontFor(const FontSpec& spec) {
  if (spec.face == FontFace::Window) return Make(Families(FontFace::SongTi), kWindowFont.points, false);
  return Make(Families(spec.face), spec.points, spec.bold);
}

QFont KeyFont(keys::FontClass fontClass) {
  switch (fontClass) {
    case keys::FontClass::YaHei9: return FontFor({FontFace::YaHei, 9});
    case keys::FontClass::YaHei6_75: return FontFor({FontFace::YaHei, 6.75});
    case keys::FontClass::YaHei7_5: return FontFor({FontFace::YaHei, 7.5});
    case keys::FontClass::YaHeiUi6_75:
      return Make(QStringList{"Microsoft YaHei UI", "微软雅黑", "Microsoft YaHei"} + kCjkFallbacks, 6.75, false);
    case keys::FontClass::Window: break;
  }
  return FontFor({FontFace::Window});
}

}  // namespace kestrova::ui
