// The one table that knows every kind code: its class, slots, descriptions and menu command.
#include <algorithm>
#include <array>

#include "model/kind.h"

namespace kv {
namespace {

using enum Kind;
using F = KindFamily;

// Rows in the order of the description table; codes without a description follow.
constexpr std::array kCatalogue = {
    KindInfo{kCALC, "CALC", F::kExpression, "", "N", "数式計算", "calculation", "mnuMcalc", false},
    KindInfo{kND2P, "ND2P", F::kNumber, "PP", "N", "距離(2点)", "distance(2 points)", "mnuMdis2P",
             false},
    KindInfo{kNDPL, "NDPL", F::kNumber, "PL", "N", "距離(点,直線)", "distance(point, line)",
             "mnuMdisPL", false},
    KindInfo{kNPL2, "NPL2", F::kNumber, "PL", "N", "距離(点,直線/+-)", "distance(point, line/+-)",
             "mnuMdisPL2", false},
    KindInfo{kNDPC, "NDPC", F::kNumber, "PC", "N", "距離(点,円)", "distance(point, circle)",
             "mnuMdisPC", false},
    KindInfo{kND2L, "ND2L", F::kNumber, "LL", "N", "距離(2直線)", "distance(2 lines)", "mnuMdis2L",
             false},
    KindInfo{kNDLC, "NDLC", F::kNumber, "LC", "N", "距離(直線,円)", "distance(line, circle)",
             "mnuMdisLC", false},
    KindInfo{kND2C, "ND2C", F::kNumber, "CC", "N", "距離(2円)", "distance(2 circles)", "mnuMdis2C",
             false},
    KindInfo{kNA3P, "NA3P", F::kNumber, "PPP", "N", "角度(3点/0-180)", "angle(3 points/0-180)",
             "mnuMangle1", false},
    KindInfo{kNA3Plus, "NA3+", F::kNumber, "PPP", "N", "角度(3点/+-180)",
             "angle(3 points/-180-180)", "mnuMangle3", false},
    KindInfo{kNA3Star, "NA3*", F::kNumber, "PPP", "N", "角度(3点/0-360)", "angle(3 points/0-360)",
             "mnuMangle2", false},
    KindInfo{kNA2L, "NA2L", F::kNumber, "LL", "N", "角度(2直線)", "angle(2 lines)", "mnuMangle2L",
             false},
    KindInfo{kNPX, "NPX", F::kNumber, "P", "N", "x座標", "x coordinade", "mnuMAxisX", false},
    KindInfo{kNPX2, "NPX2", F::kNumber, "P", "N", "x座標", "x coordinade", "mnuMAxisX2", false},
    KindInfo{kNPY, "NPY", F::kNumber, "P", "N", "y座標", "y coordinate", "mnuMAxisY", false},
    KindInfo{kNAR3, "NAR3", F::kNumber, "PPP", "N", "面積(3角形)", "area(triangle)", "mnuMarea3P1",
             false},
    KindInfo{kNARPlus, "NAR+", F::kNumber, "PPP", "N", "面積(3角形,+/-)", "area(triangle, +/-)",
             "mnuMarea3P2", false},
    KindInfo{kNAR4, "NAR4", F::kNumber, "PPPP", "N", "面積(4角形)", "area(quadrilateral)",
             "mnuMarea4P", false},
    KindInfo{kNLC, "NLC", F::kNumber, "C", "N", "円周", "circumference", "mnuMlengthCenshu", false},
    KindInfo{kNRC, "NRC", F::kNumber, "C", "N", "円の半径", "radius", "mnuMlengthCradius", false},
    KindInfo{kNSIN, "NSIN", F::kNumber, "N", "N", "SIN", "sin", "mnuMFsin", false},
    KindInfo{kNCOS, "NCOS", F::kNumber, "N", "N", "COS", "cos", "mnuMFcos", false},
    KindInfo{kNTAN, "NTAN", F::kNumber, "N", "N", "TAN", "tan", "mnuMFtan", false},
    KindInfo{kPC1, "PC1", F::kPoint, "LL", "P", "交点（２直線）", "intersection(2 lines)",
             "mnuPcrossLL", false},
    KindInfo{kPC2, "PC2", F::kPoint, "LC", "PP", "交点（直線と円）", "intersection(line, circle)",
             "mnuPcrossLC", false},
    KindInfo{kPC3, "PC3", F::kPoint, "CC", "PP", "交点（２円）", "intersection(2 circles)",
             "mnuPcrossCC", false},
    KindInfo{kPNEQ, "PNEQ", F::kPoint, "PP*", "", "ｎ等分", "devide equally", "mnuPtoubun", true},
    KindInfo{kPN, "PN", F::kPoint, "PPNN", "P", "内分・外分",
             "internally or externally dividing point", "mnuPnaibun", false},
    KindInfo{kPEXT, "PEXT", F::kPoint, "PPN", "P", "２点からの延長", "extension from 2 points",
             "mnuPextension", false},
    KindInfo{kP1, "P1", F::kPoint, "PPP", "P", "三角形の外心", "circumcenter", "mnuPgaishin",
             false},
    KindInfo{kP2, "P2", F::kPoint, "PPP", "P", "三角形の内心", "incenter", "mnuPnaishin", false},
    KindInfo{kP3, "P3", F::kPoint, "PPP", "P", "三角形の重心", "center of gravity", "mnuPjushin",
             false},
    KindInfo{kP4, "P4", F::kPoint, "PPP", "P", "三角形の垂心", "orthcenter", "mnuPsuishin", false},
    KindInfo{kP5, "P5", F::kPoint, "PPP", "P", "三角形の一傍心", "one excenter", "mnuPboushin",
             false},
    KindInfo{kP6, "P6", F::kPoint, "PPP", "P", "三角形の九点円の中心",
             "center of nine points circle", "mnuP9ptcCenter", false},
    KindInfo{kPT1, "PT1", F::kPoint, "PPN", "P", "点の回転", "rotation", "mnuProtate", false},
    KindInfo{kPT2, "PT2", F::kPoint, "PL", "P", "点の線対称移動", "reflection", "mnuPlinesym",
             false},
    KindInfo{kPT3, "PT3", F::kPoint, "PP", "P", "点の点対称移動", "point symmetry", "mnuPPsym",
             false},
    KindInfo{kPT4, "PT4", F::kPoint, "PC", "P", "点の円に関する反転", "inversion", "mnuPinversion",
             false},
    KindInfo{kPT5, "PT5", F::kPoint, "PPPPP", "PNNNN", "１次変換", "linear transformation",
             "mnuCMacroLinear", false},
    KindInfo{kPT6, "PT6", F::kPoint, "PPPPP", "PNNNN", "アフィン変換", "affine trans.",
             "mnuCMacroAffine", false},
    KindInfo{kPT7, "PT7", F::kPoint, "PPPPP", "PNNNN", "射影変換", "projective trans.",
             "mnuCMacroProjective", false},
    KindInfo{kPT8, "PT8", F::kPoint, "PL", "P", "点の平行移動", "translation", "mnuPParallel",
             false},
    KindInfo{kPT9, "PT9", F::kPoint, "LC", "P", "極", "pole", "mnuPLCpolar", false},
    KindInfo{kPNEW, "PNEW", F::kPoint, "", "P", "新しい点を取る", "append a new point",
             "mnuPnewFreeP", false},
    KindInfo{kPBND, "PBND", F::kPoint, "X", "P", "図形上に点を取る", "new point on a object",
             "mnuPboundL mnuPboundC", false},
    KindInfo{kPOAdd, "PO+", F::kPoint, "PP", "P", "(複素数としての)和",
             "addition(as complex number)", "mnuCMPplus", false},
    KindInfo{kPOSub, "PO-", F::kPoint, "PP", "P", "(複素数としての)差",
             "substraction(as complex number)", "mnuCMPminus", false},
    KindInfo{kPOMul, "PO*", F::kPoint, "PP", "P", "(複素数としての)積",
             "multiplication(as complex number)", "mnuCMPmulti", false},
    KindInfo{kPODiv, "PO/", F::kPoint, "PP", "P", "(複素数としての)商",
             "division(as complex number)", "mnuCMPdiv", false},
    KindInfo{kPOInv, "PO-1", F::kPoint, "P", "P", "(複素数としての)逆数",
             "reciprocal(as complex number)", "mnuCMPinv", false},
    KindInfo{kPOPow, "PO^", F::kPoint, "PN", "P", "(複素数としての)巾(べき)",
             "power(as complex number)", "mnuCMPpower", false},
    KindInfo{kPXY, "PXY", F::kPoint, "NN", "P", "x,y座標から点を作る",
             "point determined by xy-coordinates", "mnuPxy", false},
    KindInfo{kL1, "L1", F::kLine, "PP", "L", "２点を結ぶ", "connect 2 points",
             "mnlL2P mnuS2P mnuH2P", false},
    KindInfo{kL2, "L2", F::kLine, "LP", "L", "平行線", "pallarel line", "mnuLLP1", false},
    KindInfo{kL3, "L3", F::kLine, "LP", "LP", "垂線（とその足）", "Perpendicular foot", "mnuLLP2",
             false},
    KindInfo{kL3Macro, "L3+", F::kLine, "LP", "", "垂線とその足(マクロ)", "Perpendicular foot",
             "mnuSPLperpendicular", true},
    KindInfo{kL4, "L4", F::kLine, "L", "L", "垂直二等分線", "perpendicular bisector",
             "mnuLperpendicular", false},
    KindInfo{kL5, "L5", F::kLine, "PC", "LL", "円の接線（１点を通る）",
             "tangent line of circle (throgh 1 point)", "mnuLPCtangent", false},
    KindInfo{kL6, "L6", F::kLine, "CC", "LL", "２円の共通外接線",
             "common circumscription line of 2 circles", "mnuL2Ctangent1", false},
    KindInfo{kL7, "L7", F::kLine, "CC", "LL", "２円の共通内接線",
             "common inscribed lines of 2 circles", "mnuL2Ctangent2", false},
    KindInfo{kL8, "L8", F::kLine, "PC", "L", "極線", "pole", "mnuLPCpole", false},
    KindInfo{kLPGN, "LPGN", F::kLine, "*", "", "多角形", "polygon", "mnuSpolygon", true},
    KindInfo{kLRGN, "LRGN", F::kLine, "*PP", "", "正多角形(一辺とする2点)",
             "regular polygon(based 2 points)", "mnuSRegularPolygon", true},
    KindInfo{kLH1, "LH1", F::kLine, "PPP", "L", "角の２等分線(3点)", "angle bisector",
             "mnuHbisector", false},
    KindInfo{kLH2, "LH2", F::kLine, "PPPNN", "L",
             "角のｎ等分線(3点と n(等分)の中の m 番目[0->すべて]を入力)", "", "", false},
    KindInfo{kLH2Macro, "LH2+", F::kLine, "PPPNN", "", "角のｎ等分線(マクロ)", "", "mnuHNsector",
             true},
    KindInfo{kLRO, "LRO", F::kLine, "LPN", "L", "直線の回転移動", "rotation", "mnuHrotation2",
             false},
    KindInfo{kLHRO, "LHRO", F::kLine, "LN", "L", "半直線の回転移動", "rotation", "mnuHrotation",
             false},
    KindInfo{kLT1, "LT1", F::kLine, "LL", "L", "直線の線対称移動", "reflection", "mnuTLLinesym",
             false},
    KindInfo{kLT2, "LT2", F::kLine, "LP", "L", "直線の点対称移動", "point symmetry",
             "mnuTransformLPsymmetry", false},
    KindInfo{kLT3, "LT3", F::kLine, "LL", "L", "直線の平行移動", "translation",
             "mnuTransformLParallel", false},
    KindInfo{kC1, "C1", F::kCircle, "PN", "C", "円（中心と半径）", "circle(center and radius)",
             "mnuCPN", false},
    KindInfo{kC2, "C2", F::kCircle, "PP", "C", "円（中心と一点）", "circle(center and 1 point)",
             "mnuC2P", false},
    KindInfo{kC3, "C3", F::kCircle, "PPP", "C", "円（３点）", "circle(3 points)", "mnuCgaisetsu",
             false},
    KindInfo{kC4, "C4", F::kCircle, "L", "C", "円（直径）", "circle(diameter)", "mnuCdiameter",
             false},
    KindInfo{kC5, "C5", F::kCircle, "PPP", "C", "内接円", "inscribed circle", "mnuCnaisetsu",
             false},
    KindInfo{kC6, "C6", F::kCircle, "PPP", "C", "一傍接円", "one escribed circle", "mnuCbousetsu",
             false},
    KindInfo{kC7, "C7", F::kCircle, "PPP", "C", "九点円", "nine points circle", "mnuC9pt", false},
    KindInfo{kCRO, "CRO", F::kCircle, "CPN", "C", "円の回転移動", "rotation", "mnuTransformCrotate",
             false},
    KindInfo{kCT1, "CT1", F::kCircle, "CL", "C", "円の線対称移動", "reflection",
             "mnuTransformLLinesymmetry", false},
    KindInfo{kCT2, "CT2", F::kCircle, "CP", "C", "円の点対称移動", "point symmetry",
             "mnuTransformCPsymmetry", false},
    KindInfo{kCT3, "CT3", F::kCircle, "CL", "C", "円の平行移動", "translation",
             "mnuTransformCparallel", false},
    // Codes without a description.
    KindInfo{kNA3M, "NA3M", F::kNumber, "PPP", "N", "", "", "", false},
    KindInfo{kPT62, "PT62", F::kPoint, "PPPP", "NNNNN", "", "", "", false},
    KindInfo{kLPGPending, "LPG+", F::kLine, "*", "", "", "", "", true},
};

constexpr KindInfo kNoneInfo{kNone, "", F::kNone, "", "", "", "", "", false};
constexpr KindInfo kUnknownInfo{kUnknown, "", F::kNone, "", "", "", "", "", false};

// Index of each kind's row, built once.
struct KindIndex {
  std::array<const KindInfo*, static_cast<size_t>(kCount)> rows{};
  KindIndex() {
    for (const KindInfo& info : kCatalogue) rows[static_cast<size_t>(info.kind)] = &info;
    rows[static_cast<size_t>(kNone)] = &kNoneInfo;
    rows[static_cast<size_t>(kUnknown)] = &kUnknownInfo;
  }
};

const KindIndex& Index() {
  static const KindIndex index;
  return index;
}

}  // namespace

std::span<const KindInfo> KindCatalogue() { return kCatalogue; }

const KindInfo& InfoOf(Kind kind) {
  const KindInfo* row = Index().rows[static_cast<size_t>(kind)];
  return row ? *row : kUnknownInfo;
}

Kind ParseKind(std::string_view code) {
  while (!code.empty() && code.back() == ' ') code.remove_suffix(1);
  if (code.empty()) return kNone;
  auto it = std::find_if(kCatalogue.begin(), kCatalogue.end(),
                         [&](const KindInfo& info) { return info.code == code; });
  return it == kCatalogue.end() ? kUnknown : it->kind;
}

int RequiredOutputs(Kind kind) {
  if (kind == Kind::kL3) return 1;
  return static_cast<int>(InfoOf(kind).outputs.size());
}

}  // namespace kv
