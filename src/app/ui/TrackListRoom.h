#pragma once
#include <QObject>

class QTreeView;

// The room the track list gains as the window grows goes to the title
// column first, up to what its titles need, then to the target column; it is
// taken back from the target column first, down to its width as laid out,
// then from the title column, down to its own. New titles take what they need
// from what the target column gained. The other columns keep the widths the
// user gave them.
class TrackListRoom : public QObject {
    Q_OBJECT
public:
    struct Widths {
        int title = 0;
        int target = 0;
        bool operator==(const Widths& o) const { return title == o.title && target == o.target; }
    };

    // The list's title and target columns have their laid-out widths now, for the list's size now.
    TrackListRoom(QTreeView& list, int titleColumn, int targetColumn);

    // The columns' widths were set for a list of that width: what it gains
    // or loses from there is shared.
    void SetFor(int listWidth);

    // The two columns' widths once the list gained growth pixels (lost, when
    // negative); least: their widths as laid out.
    static Widths Share(Widths now, int growth, Widths least, int titleNeed);
    // The two columns' widths once the titles changed: the title column takes
    // what it needs from what the target column has beyond its least.
    static Widths Rebalance(Widths now, Widths least, int titleNeed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void grow(int growth);
    void rebalance();
    Widths widths() const;
    void apply(Widths widths);
    int titleNeed();

    QTreeView& m_list;
    int m_titleColumn;
    int m_targetColumn;
    Widths m_least;
    int m_width; // the width of the list's rows at the last share
};
