// The Japanese texts of the options dialog (see OptionsJ.h).
#include "settings/OptionsJ.h"

namespace tallyon {

const TOptionsTexts kOptionsTextsJapanese = {
    "オプション",
    {"数値表現(&N)", "キーマップ(&K)", "クリップボード(&B)", "フォント(&F)", "言語(&L)",
     "その他(&O)", "色(&C)"},
    "数値表現",
    {"一般(&G)", "指数形式(&E)", "固定小数点形式(&F)", "エンジニア表記(&N)", "ユーザー定義(&U)"},
    "精度:",
    "桁:",
    "ユーザー定義書式:",
    "サンプル:",
    {"計算実行", "計算無し", "改行挿入"},
    "クリップボードデータコピー時の数値表現",
    {"通常(最大の精度)(&N)", "「数値表現」での指定に従う(&A)"},
    "配列データのクリップボードコピー時の書式",
    {"カンマ区切り数値列", "タブ区切り数値列", "スペース区切り数値列", "改行(CRLF)区切り数値列"},
    "フォント名:",
    "サイズ:",
    "変更(&C)...",
    "言語",
    {"英語(&E)", "日本語(&J)"},
    {"チップヘルプを表示する(&T)", "起動時に最後に保存したファイルを呼び出す(&F)",
     "起動時に最後に保存した変数を呼び出す(&V)", "変更がある場合は終了前に問い合わせる(&Q)",
     "Tallyonを常に前面に表示する(&S)", "非アクティブ時には半透明になる(&T)",
     "シンプルな表示にする(&Y)"},
    {"背景:", "式:", "矢印:", "結果:"},
};

TFrmOptionsJ::TFrmOptionsJ(QWidget* parent) : TFrmOptions(kOptionsTextsJapanese, parent) {
    setObjectName("FrmOptionsJ");
}

}  // namespace tallyon
