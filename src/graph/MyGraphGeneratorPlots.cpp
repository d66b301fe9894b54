// The dot plot and boxplot steps run last on every layout. Until their dots, bars and boxes
// are laid out here, a graph shows its frame and axes only.
#include "graph/MyGraphGenerator.h"

void MyGraphGenerator::setScatterWithSetIndex(qint64, const QStringList&, const QVector<qint64>&, const QVariantMap&,
                                              MyConfigRootItem*, MyViewManager*)
{
}

void MyGraphGenerator::setBoxWithSetIndex(qint64, const QStringList&, const QVector<qint64>&, const QVariantMap&,
                                          MyConfigRootItem*, MyViewManager*)
{
}
