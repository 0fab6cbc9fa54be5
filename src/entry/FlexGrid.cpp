#include "entry/FlexGrid.h"

// Placeholder bodies; the grid layer is being written.
FlexGrid::FlexGrid(QObject *parent) : QAbstractTableModel(parent) {}
int FlexGrid::rowCount(const QModelIndex &) const { return 0; }
int FlexGrid::columnCount(const QModelIndex &) const { return 0; }
QVariant FlexGrid::data(const QModelIndex &, int) const { return {}; }
Qt::ItemFlags FlexGrid::flags(const QModelIndex &) const { return Qt::NoItemFlags; }
