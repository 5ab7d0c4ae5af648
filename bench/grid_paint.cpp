// Fills a grid shaped like the widest race card (150 columns, 34 rows, merged
// headers, bars, large name fonts) and times layout and painting.
// Usage: bench_grid_paint [out.png]   (the picture shows the painted viewport)

#include "platform/gridmodel.h"
#include "platform/pictures.h"
#include "platform/ui/gridview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <cstdio>

using namespace kelmon;

static void fillCard(GridModel &m)
{
    m.reset();
    m.setCols(6);
    m.setRows(34);
    m.setFixedCols(5);
    m.setFixedRows(4);
    m.setMergeCells(true);
    for (int r = 0; r < 4; ++r)
        m.setMergeRow(r, true);
    for (int c : {0, 2, 4})
        m.setMergeCol(c, true);
    for (int r = 0; r < 34; ++r)
        m.setRowHeight(r, r % 5 == 4 ? 10 : 190);
    const int widths[] = {300, 10, 270, 10, 1540, 10};
    for (int c = 0; c < 6; ++c) {
        m.setColWidth(c, widths[c]);
        m.setColAlignment(c, GridAlign::CenterCenter);
    }
    const QRgb tints[] = {0xFFFFFF, 0xC0C0C0, 0xFFC0C0, 0xC0C0FF, 0xFFFFC0, 0xC0FFC0};
    for (int r = 0; r < 4; ++r) {
        for (int c : {0, 2, 4})
            m.setBackColor(r, c, 0xFFE0C0);
        m.setText(r, 0, QStringLiteral("本　紙"));
        m.setText(r, 2, QStringLiteral("連　番"));
    }
    m.setText(0, 4, QStringLiteral("登番ＦＬ進入　期"));
    m.setText(1, 4, QStringLiteral("選　手　名"));
    m.setText(2, 4, QStringLiteral("選　手　名"));
    m.setText(3, 4, QStringLiteral("出身年令血液体重"));
    for (int k = 1; k <= 6; ++k) {
        const int R = 5 * k;
        for (int r = R; r < R + 4; ++r) {
            for (int c : {0, 2, 4})
                m.setBackColor(r, c, tints[k - 1]);
            m.setText(r, 0, QStringLiteral("◎○×△注…").mid(k - 1, 1));
            m.setText(r, 2, r < R + 2 ? QString(QChar(0x2460 + k - 1)) : QStringLiteral("白黒赤青黄緑").mid(k - 1, 1));
        }
        m.setText(R, 4, QStringLiteral("4%1  ①中枠%2期").arg(k * 123 % 1000, 3, 10, QChar(u'0')).arg(80 + k));
        m.setCellAlignment(R, 4, GridAlign::LeftCenter);
        for (int r : {R + 1, R + 2}) {
            m.setText(r, 4, QStringLiteral("山田太郎次郎").left(4 + k % 3));
            m.setFontName(r, 4, QStringLiteral("HG丸ｺﾞｼｯｸM-PRO"));
            m.setFontBold(r, 4, true);
            m.setFontSize(r, 4, 16.8);
        }
        m.setText(R + 3, 4, QStringLiteral("東京45才A型52㎏"));
        m.setCellAlignment(R + 3, 4, GridAlign::LeftCenter);
    }
    // Six course-data blocks of 24 columns.
    for (int b = 0; b < 6; ++b) {
        const int first = m.cols();
        m.setCols(first + 24);
        for (int o = 0; o < 24; ++o) {
            m.setColWidth(first + o, o == 11 ? 30 : (o % 2 ? 10 : 330));
            m.setColAlignment(first + o, GridAlign::CenterCenter);
        }
        for (int o = 0; o < 23; ++o) {
            m.setText(0, first + o, QStringLiteral("コース別データ"));
            m.setBackColor(0, first + o, 0xFFE0C0);
        }
        for (int o = 0; o < 11; ++o) {
            m.setText(1, first + o, QStringLiteral("全国実績"));
            m.setText(1, first + 12 + o, QStringLiteral("当地実績"));
            m.setBackColor(1, first + o, 0xFFE0C0);
            m.setBackColor(1, first + 12 + o, 0xFFE0C0);
        }
        for (int p = 0; p < 2; ++p)
            for (int n = 1; n <= 6; ++n) {
                const int c = first + 12 * p + 2 * (n - 1);
                m.setText(2, c, QString::number(n));
                m.setText(3, c, QStringLiteral("ｺｰｽ"));
                m.setBackColor(2, c, 0xFFE0C0);
                m.setBackColor(3, c, 0xFFE0C0);
                for (int k = 1; k <= 6; ++k) {
                    const int R = 5 * k;
                    const int S = (k * 37 + n * 11 + b) % 130;
                    for (int r = R; r < R + 4; ++r)
                        m.setBackColor(r, c, 0xFFFFFF);
                    m.setText(R, c, QString::number(S / 3));
                    m.setText(R + 3, c, QString::number(S));
                    m.setPictureAlignment(R + 3, c, GridAlign::CenterBottom);
                    const int h = std::min(13, int(std::nearbyint(p == 0 ? S / 10.0 : S / 5.0)) + 1);
                    m.setPicture(R + 3, c, GridPicture{imlraceinfo1, pictures::courseBar(p, h)});
                }
            }
    }
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    GridModel model;
    GridView view;
    view.resize(1200, 520);
    view.show();

    QElapsedTimer t;
    const int fills = 20;
    qint64 fillNs = 0, paintNs = 0;
    for (int i = 0; i < fills; ++i) {
        t.start();
        fillCard(model);
        view.setModel(&model);
        fillNs += t.nsecsElapsed();
        t.start();
        const QPixmap shot = view.viewport()->grab();
        paintNs += t.nsecsElapsed();
    }
    std::printf("grid %d x %d: fill + layout %.2f ms, paint %.2f ms (mean of %d)\n", model.cols(), model.rows(),
                fillNs / 1e6 / fills, paintNs / 1e6 / fills, fills);
    view.horizontalScrollBar()->setValue(40);
    if (argc > 1)
        view.grab().save(QString::fromLocal8Bit(argv[1]));
    return 0;
}
