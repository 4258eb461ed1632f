// The menu tree of the main window: one row per menu item in display order, with its control
// name, parent, Japanese caption, shortcut and the menu modes it shows in; and the check marks
// that follow the settings.
#include "session/menu_tree.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kv {
namespace {

using M = MenuCommand;

constexpr uint8_t kSep = kMenuSeparatorBefore;
constexpr uint8_t kEasy = kMenuEasyOnly;
constexpr uint8_t kFull = kMenuFullOnly;
constexpr uint8_t kCheck = kMenuCheckable;
constexpr uint8_t kPopup = kMenuPopupOnly;

#define KV_ROW(name, parent, caption, shortcut, flags) \
  MenuItemInfo { M::name, #name, M::parent, caption, shortcut, static_cast<uint8_t>(flags) }

// Rows in display order; every parent comes before its children.
constexpr MenuItemInfo kMenuRows[] = {
    KV_ROW(mnuFile, kNone, "ﾌｧｲﾙ", "", 0),
    KV_ROW(mnuNew, mnuFile, "新規作成", "Ctrl+N", 0),
    KV_ROW(mnuLoad, mnuFile, "例の読み込み", "Ctrl+O", 0),
    KV_ROW(mnuSave, mnuFile, "保存", "Ctrl+S", 0),
    KV_ROW(mnuFDataFolder, mnuFile, "データフォルダ", "", kSep | kFull),
    KV_ROW(mnuFDataFolderGet, mnuFDataFolder, "標準に戻す", "", 0),
    KV_ROW(mnuFDataFolderStandardSet, mnuFDataFolder, "現在→標準に", "", 0),
    KV_ROW(mnuFDataFolderSample, mnuFDataFolder, "サンプル", "", 0),
    KV_ROW(mnuSaveOnLine, mnuFile, "オンライン保存", "", kSep | kFull),
    KV_ROW(mnuf_html, mnuFile, "html保存", "", 0),
    KV_ROW(mnuMerge, mnuFile, "図形の追加", "Ctrl+M", kSep | kFull),
    KV_ROW(mnuFprint, mnuFile, "印刷", "Ctrl+P", kFull),
    KV_ROW(mnuFexportPicture, mnuFile, "図を画像として保存(PNG,SVG,PDF)", "", kFull),
    KV_ROW(mnufB, mnuFile, "画面切換", "", kSep),
    KV_ROW(mnuOcopyWindow, mnufB, "画面複写", "F4", 0),
    KV_ROW(mnufBMP, mnufB, "画面保存(bmp,クリップボード)", "F7", 0),
    KV_ROW(mnuOWindowMini, mnufB, "縮小/サムネイル(クリップボード)", "Ctrl+T", 0),
    KV_ROW(mnuHmakeAllBmp, mnufB, "一括生成(現フォルダ)", "", 0),
    KV_ROW(mnuEasyMenu, mnuFile, "メニュー切り換え(フル/簡易)", "Ctrl+X", kSep),
    KV_ROW(mnuExit, mnuFile, "終了", "Ctrl+Q", kSep),

    KV_ROW(mnuDeform, kNone, "変形", "", kFull),
    KV_ROW(mnuDeform1Pt, mnuDeform, "1点を動かす", "Ctrl+D", 0),
    KV_ROW(mnuDeformPts, mnuDeform, "複数の点を動かす", "Ctrl+E", 0),
    KV_ROW(mnuDeformVar, mnuDeform, "変数の値を変える", "Ctrl+V", 0),

    KV_ROW(mnuEasyConst, kNone, "作図", "", kEasy),
    KV_ROW(mnuEasy_P01, mnuEasyConst, "点:新しい点", "", 0),
    KV_ROW(mnuEasy_P02, mnuEasyConst, "点:n等分", "", 0),
    KV_ROW(mnuEasy_P03, mnuEasyConst, "点:交点(2直線)", "", 0),
    KV_ROW(mnuEasy_P04, mnuEasyConst, "点:交点(直線と円)", "", 0),
    KV_ROW(mnuEasy_P05, mnuEasyConst, "点:交点(2円)", "", 0),
    KV_ROW(mnuEasy_L01, mnuEasyConst, "直線:2点", "", kSep),
    KV_ROW(mnuEasy_L02, mnuEasyConst, "直線:直線に平行,1点を通る", "", 0),
    KV_ROW(mnuEasy_L03, mnuEasyConst, "直線:直線に垂直,1点を通る", "", 0),
    KV_ROW(mnuEasy_L04, mnuEasyConst, "直線:線分の垂直二等分線", "", 0),
    KV_ROW(mnuEasy_S01, mnuEasyConst, "線分:2点", "", kSep),
    KV_ROW(mnuEasy_S02, mnuEasyConst, "線分:垂線の足", "", 0),
    KV_ROW(mnuEasy_S03, mnuEasyConst, "多角形", "", 0),
    KV_ROW(mnuEasy_H01, mnuEasyConst, "半直線:2点", "", kSep),
    KV_ROW(mnuEasy_H02, mnuEasyConst, "半直線:角の2等分線", "", 0),
    KV_ROW(mnuEasy_C01, mnuEasyConst, "円:中心と1点", "", kSep),

    KV_ROW(mnuConstruction, kNone, "作図(継続)", "", kFull),
    KV_ROW(mnuConstPoint, mnuConstruction, "点", "", 0),
    KV_ROW(mnuPcross, mnuConstPoint, "交点", "", 0),
    KV_ROW(mnuPcrossLL, mnuPcross, "2直線の交点", "", 0),
    KV_ROW(mnuPcrossLC, mnuPcross, "直線と円", "", 0),
    KV_ROW(mnuPcrossCC, mnuPcross, "2円", "", 0),
    KV_ROW(mnuPbunten, mnuConstPoint, "分点", "", 0),
    KV_ROW(mnuPtoubun, mnuPbunten, "n等分", "", 0),
    KV_ROW(mnuPnaibun, mnuPbunten, "内分・外分", "", 0),
    KV_ROW(mnuPextension, mnuPbunten, "2点からの延長", "", 0),
    KV_ROW(mnuPcenter, mnuConstPoint, "5心など", "", 0),
    KV_ROW(mnuPgaishin, mnuPcenter, "外心", "", 0),
    KV_ROW(mnuPnaishin, mnuPcenter, "内心", "", 0),
    KV_ROW(mnuPsuishin, mnuPcenter, "垂心", "", 0),
    KV_ROW(mnuPjushin, mnuPcenter, "重心", "", 0),
    KV_ROW(mnuPboushin, mnuPcenter, "傍心(1つ)", "", 0),
    KV_ROW(mnuP9ptcCenter, mnuPcenter, "九点円の中心", "", 0),
    KV_ROW(mnuPnew, mnuConstPoint, "新しい点の追加", "", 0),
    KV_ROW(mnuPnewFreeP, mnuPnew, "自由な新しい点", "Ctrl+F", 0),
    KV_ROW(mnuPboundL, mnuPnew, "直線上に新しい点", "Ctrl+L", 0),
    KV_ROW(mnuPboundC, mnuPnew, "円上に新しい点", "Ctrl+C", 0),
    KV_ROW(mnuPextra, mnuConstPoint, "その他", "", 0),
    KV_ROW(mnuPxy, mnuPextra, "xy座標を与える", "", 0),
    KV_ROW(mnuConstLine, mnuConstruction, "直線", "", 0),
    KV_ROW(mnlL2P, mnuConstLine, "2点を結ぶ", "", 0),
    KV_ROW(mnuLLP1, mnuConstLine, "直線に平行,1点を通る", "", 0),
    KV_ROW(mnuLLP2, mnuConstLine, "直線に垂直,1点を通る", "", 0),
    KV_ROW(mnuLperpendicular, mnuConstLine, "線分の垂直二等分線", "", 0),
    KV_ROW(mnuLPCtangent, mnuConstLine, "1点を通る,円の接線", "", 0),
    KV_ROW(mnuL2Ctangent1, mnuConstLine, "2円の共通外接線", "", 0),
    KV_ROW(mnuL2Ctangent2, mnuConstLine, "2円の共通内接線", "", 0),
    KV_ROW(mnuConst, mnuConstruction, "線分,多角形", "", 0),
    KV_ROW(mnuS2P, mnuConst, "2点を結ぶ線分", "", 0),
    KV_ROW(mnuSPLperpendicular, mnuConst, "垂線の足(1点から直線へ)", "", 0),
    KV_ROW(mnuSpolygon, mnuConst, "多角形", "", 0),
    KV_ROW(mnuSRegularPolygon, mnuConst, "正多角形", "", 0),
    KV_ROW(mnuCOnstHalfLine, mnuConstruction, "半直線", "", 0),
    KV_ROW(mnuH2P, mnuCOnstHalfLine, "2点を結ぶ", "", 0),
    KV_ROW(mnuHbisector, mnuCOnstHalfLine, "角の2等分線", "", 0),
    KV_ROW(mnuHNsector, mnuCOnstHalfLine, "角のn等分", "", 0),
    KV_ROW(mnuHrotation, mnuCOnstHalfLine, "回転(定角を作る)", "", 0),
    KV_ROW(mnuConstCircle, mnuConstruction, "円", "", 0),
    KV_ROW(mnuCPN, mnuConstCircle, "中心と半径", "", 0),
    KV_ROW(mnuC2P, mnuConstCircle, "中心と1点", "", 0),
    KV_ROW(mnuCgaisetsu, mnuConstCircle, "3点(外接円)", "", 0),
    KV_ROW(mnuCdiameter, mnuConstCircle, "直径", "", 0),
    KV_ROW(mnuCnaisetsu, mnuConstCircle, "内接円", "", 0),
    KV_ROW(mnuCbousetsu, mnuConstCircle, "傍接円(1つ)", "", 0),
    KV_ROW(mnuC9pt, mnuConstCircle, "九点円", "", 0),
    KV_ROW(mnuConstImaginary, mnuConstruction, "複素数", "", 0),
    KV_ROW(mnuCMPplus, mnuConstImaginary, "＋", "", 0),
    KV_ROW(mnuCMPminus, mnuConstImaginary, "－", "", 0),
    KV_ROW(mnuCMPmulti, mnuConstImaginary, "×", "", 0),
    KV_ROW(mnuCMPdiv, mnuConstImaginary, "÷", "", 0),
    KV_ROW(mnuCMPpower, mnuConstImaginary, "  ＾  （べき）", "", 0),
    KV_ROW(mnuCMPinv, mnuConstImaginary, "逆数(1/Z)", "", 0),
    KV_ROW(mnuTransform, mnuConstruction, "移動・変換", "", kSep),
    KV_ROW(mnuTransPoint, mnuTransform, "点→点", "", 0),
    KV_ROW(mnuProtate, mnuTransPoint, "回転移動", "", 0),
    KV_ROW(mnuPlinesym, mnuTransPoint, "線対称移動", "", 0),
    KV_ROW(mnuPPsym, mnuTransPoint, "点対称移動", "", 0),
    KV_ROW(mnuPParallel, mnuTransPoint, "平行移動", "", 0),
    KV_ROW(mnuPinversion, mnuTransPoint, "円に関する反転", "", 0),
    KV_ROW(mnuTransLine, mnuTransform, "線→線", "", 0),
    KV_ROW(mnuHrotation2, mnuTransLine, "回転移動", "", 0),
    KV_ROW(mnuTLLinesym, mnuTransLine, "線対称移動", "", 0),
    KV_ROW(mnuTransformLPsymmetry, mnuTransLine, "点対称移動", "", 0),
    KV_ROW(mnuTransformLParallel, mnuTransLine, "平行移動", "", 0),
    KV_ROW(mnuTransCircle, mnuTransform, "円→円", "", 0),
    KV_ROW(mnuTransformCrotate, mnuTransCircle, "回転移動", "", 0),
    KV_ROW(mnuTransformLLinesymmetry, mnuTransCircle, "線対称移動", "", 0),
    KV_ROW(mnuTransformCPsymmetry, mnuTransCircle, "点対称移動", "", 0),
    KV_ROW(mnuTransformCparallel, mnuTransCircle, "平行移動", "", 0),
    KV_ROW(mnuTrans2, mnuConstruction, "変換(その2)", "", 0),
    KV_ROW(mnuLPCpole, mnuTrans2, "点の円に関する極線", "", 0),
    KV_ROW(mnuPLCpolar, mnuTrans2, "直線の円に関する極", "", 0),
    KV_ROW(mnuCMacroLinear, mnuTrans2, "一次変換 (2点とその像で決定)", "", kSep),
    KV_ROW(mnuCMacroAffine, mnuTrans2, "アフィン変換 (3点とその像で決定)", "", 0),
    KV_ROW(mnuCMacroProjective, mnuTrans2, "射影変換 (4点とその像で決定)", "", 0),
    KV_ROW(mnuPTmatrixSW, mnuTrans2, "変換行列表示(on/off)", "", kCheck),
    KV_ROW(mnuCredo, mnuConstruction, "繰り返し(Redo)", "Ctrl+R", kSep),
    KV_ROW(mnuCundo, mnuConstruction, "最後抹消(undo)", "Ctrl+U", 0),

    KV_ROW(mnuEasy_Measure, kNone, "測定", "", kEasy),
    KV_ROW(mnuEasy_N01, mnuEasy_Measure, "2点の距離", "", 0),
    KV_ROW(mnuEasy_N02, mnuEasy_Measure, "角度", "", 0),
    KV_ROW(mnuEasy_N03, mnuEasy_Measure, "3角形の面積", "", 0),
    KV_ROW(mnuEasy_N04, mnuEasy_Measure, "4角形の面積", "", 0),

    KV_ROW(mnuMeasure, kNone, "測定", "", kFull),
    KV_ROW(mnuMdis, mnuMeasure, "距離", "", 0),
    KV_ROW(mnuMdis2P, mnuMdis, "2点", "", 0),
    KV_ROW(mnuMdisPL, mnuMdis, "点と直線", "", 0),
    KV_ROW(mnuMdisPL2, mnuMdis, "点と直線(+/-)", "", 0),
    KV_ROW(mnuMdisPC, mnuMdis, "点と円", "", 0),
    KV_ROW(mnuMdis2L, mnuMdis, "2直線", "", 0),
    KV_ROW(mnuMdisLC, mnuMdis, "直線と円", "", 0),
    KV_ROW(mnuMdis2C, mnuMdis, "2円", "", 0),
    KV_ROW(mnuMangle, mnuMeasure, "角度", "", 0),
    KV_ROW(mnuMangle1, mnuMangle, "3点(0 - 180)", "", 0),
    KV_ROW(mnuMangle2, mnuMangle, "3点(0 - 360)", "", 0),
    KV_ROW(mnuMangle3, mnuMangle, "3点(-180 - 180)", "", 0),
    KV_ROW(mnuMangle2L, mnuMangle, "2直線 (0 - 90)", "", 0),
    KV_ROW(mnuMarea, mnuMeasure, "面積", "", 0),
    KV_ROW(mnuMarea3P1, mnuMarea, "3角形", "", 0),
    KV_ROW(mnuMarea3P2, mnuMarea, "3角形(+/-)", "", 0),
    KV_ROW(mnuMarea4P, mnuMarea, "4角形", "", 0),
    KV_ROW(mnuMlength, mnuMeasure, "長さ", "", 0),
    KV_ROW(mnuMlengthCenshu, mnuMlength, "円周", "", 0),
    KV_ROW(mnuMlengthCradius, mnuMlength, "円の半径", "", 0),
    KV_ROW(mnuMAxis, mnuMeasure, "座標", "", 0),
    KV_ROW(mnuMAxisX, mnuMAxis, "点の x 座標", "", 0),
    KV_ROW(mnuMAxisY, mnuMAxis, "点の y 座標", "", 0),
    KV_ROW(mnuMAxisX2, mnuMAxis, "点の x 座標(その2)", "", 0),
    KV_ROW(mnuMcalc, mnuMeasure, "数式", "", kSep),
    KV_ROW(mnuMfunc, mnuMeasure, "関数", "", 0),
    KV_ROW(mnuMFsin, mnuMfunc, "SIN", "", 0),
    KV_ROW(mnuMFcos, mnuMfunc, "COS", "", 0),
    KV_ROW(mnuMFtan, mnuMfunc, "TAN", "", 0),
    KV_ROW(mnuMredo, mnuMeasure, "繰り返し(Redo)", "", kSep),
    KV_ROW(mnuMundo, mnuMeasure, "最後抹消(Undo)", "", 0),

    KV_ROW(mnuZoom, kNone, "ｽﾞｰﾑ", "", 0),
    KV_ROW(mnuZoomDefault, mnuZoom, "標準に戻す", "Ctrl+F3", 0),
    KV_ROW(mnuZoomIn, mnuZoom, "* 2", "F3", 0),
    KV_ROW(mnuZoomOut, mnuZoom, "/ 2", "Shift+F3", 0),
    KV_ROW(mnuZoomComplex, mnuZoom, "複素数用", "", kSep | kFull),

    KV_ROW(mnuLocus, kNone, "軌跡", "", 0),
    KV_ROW(mnuLocusSW, mnuLocus, "On/Off", "", kCheck),
    KV_ROW(mnuLocusReset, mnuLocus, "消去", "Shift+F9", 0),
    KV_ROW(mnuLocusNumCSV, mnuLocus, "測定記録を見る", "Ctrl+Shift+F9", 0),
    KV_ROW(mnuLocusSet, mnuLocus, "設定", "", kSep | kFull),
    KV_ROW(mnuLocusSetP, mnuLocusSet, "点", "", 0),
    KV_ROW(mnuLocusSetL, mnuLocusSet, "直線", "", 0),
    KV_ROW(mnuLocusSetC, mnuLocusSet, "円", "", 0),
    KV_ROW(mnuLocusSetN, mnuLocusSet, "変数", "", 0),
    KV_ROW(mnuLocusNumClear, mnuLocus, "軌跡の設定(変数)の解除", "Ctrl+F9", kFull),

    KV_ROW(mnuOption, kNone, "ｵﾌﾟｼｮﾝ", "", kFull),
    KV_ROW(mnuOdeform, mnuOption, "変形の幅", "", 0),
    KV_ROW(mnuOdeformStandard, mnuOdeform, "標準(10ドットずつ)", "F12", kCheck),
    KV_ROW(mnuOdeformNarrow, mnuOdeform, "細かく(1ドット)", "Shift+F12", kCheck),
    KV_ROW(mnuOdeformManual, mnuOdeform, "任意設定", "Ctrl+Shift+F12", kCheck),
    KV_ROW(mnuOdeformNum, mnuOption, "数値の変化の幅", "", 0),
    KV_ROW(mnuOdeformVarStandard, mnuOdeformNum, "標準(0.5)", "F11", kCheck),
    KV_ROW(mnuOdeformVarNarrow, mnuOdeformNum, "細かく(0.1)", "Ctrl+F11", kCheck),
    KV_ROW(mnuOdeformVarWide, mnuOdeformNum, "大きく(1)", "Shift+F11", kCheck),
    KV_ROW(mnuOdeformVarManual, mnuOdeformNum, "任意設定", "Ctrl+Shift+F11", kCheck),
    KV_ROW(mnuOchrDisp, mnuOption, "文字表示", "", kSep | kCheck),
    KV_ROW(mnuAngleSW, mnuOption, "角のマークの表示", "", kCheck),
    KV_ROW(mnuOAxis, mnuOption, "座標軸の表示", "Ctrl+A", kCheck),
    KV_ROW(mnuOAxisKind, mnuOption, "座標系の種類", "", 0),
    KV_ROW(mnuOAxis01, mnuOAxisKind, "直交座標系", "", kCheck),
    KV_ROW(mnuOAxis02, mnuOAxisKind, "極座標系", "", kCheck),
    KV_ROW(mnuOAxisColor, mnuOption, "座標軸の色", "", 0),
    KV_ROW(mnuOAxisColor1, mnuOAxisColor, "うすい灰色(標準)", "", 0),
    KV_ROW(mnuOAxisColor2, mnuOAxisColor, "中間の灰色", "", 0),
    KV_ROW(mnuOAxisColor3, mnuOAxisColor, "濃い灰色", "", 0),
    KV_ROW(mnuOAxisColorManual, mnuOAxisColor, "任意設定", "", 0),
    KV_ROW(mnuWidth, mnuOption, "線の幅", "", kSep),
    KV_ROW(mnuFont, mnuOption, "字の大きさ", "", 0),
    KV_ROW(mnuKeta, mnuOption, "測定値の桁数", "", 0),
    KV_ROW(mnuOBackColor, mnuOption, "背景色", "", 0),
    KV_ROW(mnuOBackCWhite, mnuOBackColor, "白(標準)", "", 0),
    KV_ROW(mnuOBackCStandard, mnuOBackColor, "灰色", "", 0),
    KV_ROW(mnuOBackCmanual, mnuOBackColor, "任意設定", "", 0),
    KV_ROW(mnuOColorStrength, mnuOption, "色の濃さ", "", 0),
    KV_ROW(mnuOSDeform, mnuOption, "Shift + 変形の動作", "", kSep),
    KV_ROW(mnuOSDeformLC, mnuOSDeform, "近接直線/円へ", "", kCheck),
    KV_ROW(mnuOSDeformL, mnuOSDeform, "近接直線へ", "", kCheck),
    KV_ROW(mnuOSDeformCross, mnuOSDeform, "格子点へ", "", kCheck),
    KV_ROW(mnuOWindow, mnuOption, "起動時の画面の大きさ", "", 0),
    KV_ROW(mnuOWindowStandard, mnuOWindow, "標準", "", kCheck),
    KV_ROW(mnuOWindowVGA, mnuOWindow, "VGA(640×480)", "", kCheck),
    KV_ROW(mnuOWindowMax, mnuOWindow, "最大", "", kCheck),
    KV_ROW(mnuOWindowSave, mnuOWindow, "マニュアル(現在の画面)", "", kCheck),
    KV_ROW(mnuOmenuModeSW, mnuOption, "起動時メニューモード", "", 0),
    KV_ROW(mnuOMenu_easy, mnuOmenuModeSW, "簡易モード", "", kCheck),
    KV_ROW(mnuOmenu_full, mnuOmenuModeSW, "フルメニュー", "", kCheck),
    KV_ROW(mnuRedrawslowOption, mnuOption, "作図再生の速度", "", 0),
    KV_ROW(mnuRedrawslowOption_01, mnuRedrawslowOption, "速く(0.2秒)", "", kCheck),
    KV_ROW(mnuRedrawslowOption_03, mnuRedrawslowOption, "標準(0.5秒)", "", kCheck),
    KV_ROW(mnuRedrawslowOption_05, mnuRedrawslowOption, "遅く(1秒)", "", kCheck),
    KV_ROW(mnuOwww, mnuOption, "WWWサーバの設定", "", kSep),
    KV_ROW(mnuOwwwDefault, mnuOwww, "Korvane Project", "", 0),
    KV_ROW(mnuOwwwManual, mnuOwww, "マニュアル", "", 0),
    KV_ROW(mnuOFile, mnuOption, "設定値の入出力", "", 0),
    KV_ROW(mnuOFileSave, mnuOFile, "ファイルに保存", "", 0),
    KV_ROW(mnuOFileLoad, mnuOFile, "起動時の設定に戻す", "", 0),
    KV_ROW(mnuOFileInit, mnuOFile, "標準値に戻す", "", 0),
    KV_ROW(mnuOFont, mnuOption, "フォント", "", kSep),

    KV_ROW(mnuEdit, kNone, "編集", "", kFull),
    KV_ROW(mnuEbasicPt, mnuEdit, "点", "F2", 0),
    KV_ROW(mnuEboundedPt, mnuEdit, "点(束縛条件)", "Ctrl+B", 0),
    KV_ROW(mnuEbasicLine, mnuEdit, "直線", "Shift+F2", 0),
    KV_ROW(mnuEbasicCircle, mnuEdit, "円", "Ctrl+F2", 0),
    KV_ROW(mnuEVarDisp, mnuEdit, "変数", "", kSep),
    KV_ROW(mnuEVarDispAllOn, mnuEVarDisp, "すべて表示", "", 0),
    KV_ROW(mnuEVarDispAllOff, mnuEVarDisp, "すべて非表示", "", 0),
    KV_ROW(mnuEbasicNum, mnuEVarDisp, "個別に設定", "Ctrl+Shift+F2", 0),
    KV_ROW(mnuEdit2_point, mnuEdit, "右クリック編集(点)", "", kPopup),
    KV_ROW(mnuEdit2_point_Edit, mnuEdit2_point, "編集", "", 0),
    KV_ROW(mnuEdit2_point_Bounded, mnuEdit2_point, "編集(束縛条件)", "", 0),
    KV_ROW(mnuEdit2_point_Set_Free, mnuEdit2_point, "フリーにする", "", 0),
    KV_ROW(mnuEdit2_point_Deform, mnuEdit2_point, "キーボードで変形", "", 0),

    KV_ROW(mnuHelp, kNone, "ﾍﾙﾌﾟ", "", 0),
    KV_ROW(mnuRakugaki, mnuHelp, "落書き機能", "F8", 0),
    KV_ROW(mnuHmanual, mnuHelp, "ヘルプ(マニュアル)", "F1", kSep),
    KV_ROW(mnuEditFigDataView, mnuHelp, "作図データの分析", "", kFull),
    KV_ROW(mnuFigData_Redraw, mnuHelp, "作図手続きの再生", "Ctrl+F1", 0),
    KV_ROW(mnuEcallHis, mnuHelp, "call history", "", kSep),
    KV_ROW(mnuVersion, mnuHelp, "バージョン", "", 0),

    KV_ROW(mnuLanguage, kNone, "Language", "", 0),
};

#undef KV_ROW

constexpr std::size_t kRowCount = sizeof(kMenuRows) / sizeof(kMenuRows[0]);
static_assert(kRowCount == kMenuCommandCount - 1, "one menu row per MenuCommand");

// Row index of each command, built once from the rows so that the rows can stay in display
// order independently of the enumerator order.
struct RowIndex {
  std::array<int16_t, kMenuCommandCount> row{};
  constexpr RowIndex() {
    for (auto& r : row) r = -1;
    for (std::size_t i = 0; i < kRowCount; ++i)
      row[static_cast<std::size_t>(kMenuRows[i].id)] = static_cast<int16_t>(i);
  }
};
constexpr RowIndex kRowIndex{};

struct EasyForward {
  MenuCommand easy;
  MenuCommand full;
};

// The easy menus hold no commands of their own: each item starts a full-menu command.
constexpr EasyForward kEasyForwards[] = {
    {M::mnuEasy_P01, M::mnuPnewFreeP},
    {M::mnuEasy_P02, M::mnuPtoubun},
    {M::mnuEasy_P03, M::mnuPcrossLL},
    {M::mnuEasy_P04, M::mnuPcrossLC},
    {M::mnuEasy_P05, M::mnuPcrossCC},
    {M::mnuEasy_L01, M::mnlL2P},
    {M::mnuEasy_L02, M::mnuLLP1},
    {M::mnuEasy_L03, M::mnuLLP2},
    {M::mnuEasy_L04, M::mnuLperpendicular},
    {M::mnuEasy_S01, M::mnuS2P},
    {M::mnuEasy_S02, M::mnuSPLperpendicular},
    {M::mnuEasy_S03, M::mnuSpolygon},
    {M::mnuEasy_H01, M::mnuH2P},
    {M::mnuEasy_H02, M::mnuHbisector},
    {M::mnuEasy_C01, M::mnuC2P},
    {M::mnuEasy_N01, M::mnuMdis2P},
    {M::mnuEasy_N02, M::mnuMangle1},
    {M::mnuEasy_N03, M::mnuMarea3P1},
    {M::mnuEasy_N04, M::mnuMarea4P},
};

const MenuItemInfo kNoneInfo{M::kNone, "", M::kNone, "", "", 0};

bool Near(double a, double b) { return std::fabs(a - b) < 1e-9; }

}  // namespace

std::span<const MenuItemInfo> MenuTree() { return kMenuRows; }

const MenuItemInfo& MenuInfo(MenuCommand cmd) {
  auto i = static_cast<std::size_t>(cmd);
  if (i >= kMenuCommandCount || kRowIndex.row[i] < 0) return kNoneInfo;
  return kMenuRows[kRowIndex.row[i]];
}

std::optional<MenuCommand> FindMenuCommand(std::string_view controlName) {
  for (const auto& row : kMenuRows)
    if (row.name == controlName) return row.id;
  return std::nullopt;
}

std::string_view MenuControlName(MenuCommand cmd) { return MenuInfo(cmd).name; }

MenuCommand ForwardedCommand(MenuCommand cmd) {
  for (const auto& f : kEasyForwards)
    if (f.easy == cmd) return f.full;
  return cmd;
}

bool IsTopLevelMenu(MenuCommand cmd) { return cmd != M::kNone && MenuInfo(cmd).parent == M::kNone; }

bool HasSubmenu(MenuCommand cmd) {
  if (cmd == M::kNone) return false;
  return std::any_of(std::begin(kMenuRows), std::end(kMenuRows),
                     [cmd](const MenuItemInfo& r) { return r.parent == cmd; });
}

bool MenuVisibleInMode(MenuCommand cmd, int menuMode) {
  const MenuItemInfo& info = MenuInfo(cmd);
  if (info.id == M::kNone || (info.flags & kMenuPopupOnly)) return false;
  bool easy = menuMode != 0;
  if (easy && (info.flags & kMenuFullOnly)) return false;
  if (!easy && (info.flags & kMenuEasyOnly)) return false;
  return true;
}

std::string_view MenuJapaneseCaption(MenuCommand cmd, int menuMode) {
  // Once a menu mode is applied, the switch item names the mode it leads to.
  if (cmd == M::mnuEasyMenu) return menuMode != 0 ? "フルメニューに" : "簡易メニューに";
  return MenuInfo(cmd).caption;
}

std::string MenuCaption(MenuCommand cmd, int menuMode, const Translator& tr) {
  return std::string(tr(MenuJapaneseCaption(cmd, menuMode)));
}

int StartupWindowChoice(int width, int height, int windowState, int standardWidth,
                        int standardHeight, int vgaWidth, int vgaHeight) {
  if (windowState == 2) return kStartupWindowMax;
  if (width == vgaWidth && height == vgaHeight) return kStartupWindowVGA;
  if ((width == standardWidth && height == standardHeight) || width < 301 || height < 301)
    return kStartupWindowStandard;
  return kStartupWindowSaved;
}

bool MenuChecked(MenuCommand cmd, const MenuCheckState& s) {
  switch (cmd) {
    case M::mnuOchrDisp:
      return s.labelsShown;
    case M::mnuOAxis:
      return s.axisOn;
    case M::mnuOdeformNarrow:
      return s.delta == 1;
    case M::mnuOdeformStandard:
      return s.delta == 10;
    case M::mnuOdeformManual:
      return s.delta != 1 && s.delta != 10;
    case M::mnuOdeformVarStandard:
      return Near(s.deltaVar, 0.5);
    case M::mnuOdeformVarWide:
      return Near(s.deltaVar, 1);
    case M::mnuOdeformVarNarrow:
      return Near(s.deltaVar, 0.1);
    case M::mnuOdeformVarManual:
      return !Near(s.deltaVar, 0.5) && !Near(s.deltaVar, 1) && !Near(s.deltaVar, 0.1);
    case M::mnuOAxis01:
      return s.axisKind == 0;
    case M::mnuOAxis02:
      return s.axisKind == 1;
    case M::mnuOWindowStandard:
      return s.startupWindow == kStartupWindowStandard;
    case M::mnuOWindowVGA:
      return s.startupWindow == kStartupWindowVGA;
    case M::mnuOWindowMax:
      return s.startupWindow == kStartupWindowMax;
    case M::mnuOWindowSave:
      return s.startupWindow == kStartupWindowSaved;
    case M::mnuOMenu_easy:
      return s.startupMenuMode == -1;
    case M::mnuOmenu_full:
      return s.startupMenuMode != -1;
    case M::mnuRedrawslowOption_01:
      return s.replayIntervalMs == 200;
    case M::mnuRedrawslowOption_03:
      return s.replayIntervalMs == 500;
    case M::mnuRedrawslowOption_05:
      return s.replayIntervalMs == 1000;
    case M::mnuOSDeformLC:
      return s.sDeformKind == 0;
    case M::mnuOSDeformL:
      return s.sDeformKind == 1;
    case M::mnuOSDeformCross:
      return s.sDeformKind == 2;
    case M::mnuLocusSW:
      return s.locusOn;
    case M::mnuAngleSW:
      return s.angleMarksOn;
    case M::mnuPTmatrixSW:
      return s.matrixDisplayOn;
    default:
      return false;
  }
}

std::vector<std::pair<MenuCommand, bool>> MenuCheckSet(const MenuCheckState& state) {
  std::vector<std::pair<MenuCommand, bool>> marks;
  for (const auto& row : kMenuRows)
    if (row.flags & kMenuCheckable) marks.emplace_back(row.id, MenuChecked(row.id, state));
  return marks;
}

}  // namespace kv
