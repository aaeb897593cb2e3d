#pragma once
// Receipt and receipt-line statuses are told apart by their first three characters, so
// "未入库-反审" and "未入库，已修改！" count as not in stock, and an empty status as neither.

#include <QString>

namespace receiving {

inline const QString kInStock = QStringLiteral("已入库");
inline const QString kNotInStock = QStringLiteral("未入库");

// The width of the columns that keep the figures of stock (库存表) and of receipt headers.
constexpr int kFigureColumnLength = 255;

inline bool isInStock(const QString& status) { return status.startsWith(kInStock); }
inline bool isNotInStock(const QString& status) { return status.startsWith(kNotInStock); }

}  // namespace receiving
