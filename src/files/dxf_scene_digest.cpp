#include "files/dxf_scene_digest.h"

#include <cstdio>

namespace lumora {
namespace {

void Number(std::string& out, double value) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, " %a", value);
  out += buffer;
}
void Number(std::string& out, const Point& p) {
  Number(out, p.x);
  Number(out, p.y);
}
void Attributes(std::string& out, const SceneAttributes& a) {
  out += " [" + a.layer + "]";
  Number(out, a.colour);
  Number(out, a.width);
  Number(out, static_cast<int>(a.linetype.family));
  Number(out, a.linetype.period);
  const OwnProperties& o = a.own;
  if (o.present)
    for (std::uint32_t v : {o.layer, o.colour, o.width, o.style, o.section}) Number(out, v);
}
void Line(std::string& out, const SceneLine& l) {
  out += "\n line";
  Number(out, l.shape);
  for (const Point& p : l.points) Number(out, p);
  Attributes(out, l.attr);
  Number(out, l.measureGraphics ? 1 : 0);
  Number(out, l.ownId);
}
void Block(std::string& out, const SceneBlock& b) {
  Number(out, b.base);
  for (const SceneLine& l : b.lines) Line(out, l);
  for (const SceneText& t : b.texts) {
    out += "\n text [" + t.text + "]";
    for (const Point& p : t.points) Number(out, p);
    for (double v : {t.height, t.angle}) Number(out, v);
    for (int v : {t.positioning, t.widthRatio, t.slant, t.ownRecord ? 1 : 0}) Number(out, v);
    Number(out, t.word0);
    Number(out, t.word1);
    Attributes(out, t.attr);
  }
  for (const SceneFilling& f : b.fillings) {
    out += "\n filling";
    for (double v : {f.gap, f.angle}) Number(out, v);
    Number(out, f.solid ? 1 : 0);
    Attributes(out, f.attr);
    for (int id : f.ownBoundary) Number(out, id);
    for (const SceneLine& l : f.boundary) Line(out, l);
  }
  for (const SceneInsert& i : b.inserts) {
    out += "\n insert [" + i.block + "] [" + i.name + "]";
    Number(out, i.at);
    for (double v : {i.sx, i.sy, i.angle}) Number(out, v);
    Number(out, i.colStep);
    Number(out, i.rowStep);
    for (int v : {i.cols, i.rows, i.explode ? 1 : 0, i.partType}) Number(out, v);
    Attributes(out, i.attr);
  }
  for (const auto& [kind, count] : b.notRead)
    out += "\n not read " + kind + " " + std::to_string(count);
  for (const auto& [kind, count] : b.approximated)
    out += "\n near " + kind + " " + std::to_string(count);
}

} // namespace

std::string DxfSceneDigest(const DxfScene& scene) {
  std::string out = "model";
  Block(out, scene.model);
  for (const auto& [name, block] : scene.blocks) {
    out += "\nblock [" + name + "]";
    Block(out, block);
  }
  out += "\nheader";
  for (int v : {scene.insUnits, scene.own ? 1 : 0, scene.hasLimits ? 1 : 0}) Number(out, v);
  for (double v : {scene.dimScale, scene.gridStep, scene.version}) Number(out, v);
  Number(out, scene.limMin);
  Number(out, scene.limMax);
  for (const std::string& layer : scene.hiddenLayers) out += " hidden [" + layer + "]";
  for (const std::string& block : scene.xrefs) out += " external [" + block + "]";
  Number(out, scene.utf8 ? 1 : 0);
  for (const auto& [kind, count] : scene.notRead)
    out += " not read " + kind + std::to_string(count);
  return out;
}

} // namespace lumora
