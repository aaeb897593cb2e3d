#pragma once
// Sums of the paid bill lines (状态 "已买单") kept beside 销售模块, so the sales statistics over
// months and years read a few rows per product instead of every line. Each table holds, per key,
// the paid lines' count, the sums of their 数量 and 小计, and how many of each are not empty, so
// a sum over rows without figures reads as empty, as a sum over the lines does. Triggers keep
// them in the same transaction as every write to the lines.
//
//   销售日汇总     per sale date (销售时间) and salesperson (销售人员)
//   销售月单品汇总  per month (月份, 销售时间 / 100) and product (商品编号)
//   销售年单品汇总  per year (年份, 销售时间 / 10000) and product
//
// In the product tables a key may not be NULL: a line without a product code stands under X'',
// one without a sale date under the month and year -1, which no range asks for.

#include "store/database.h"

namespace store {

// Adds every table that is missing or lacks a trigger, filled from the paid lines, each whole or
// not at all; a table whose triggers are all there is trusted as it is.
void ensurePaidSalesSums(Database& db);

}  // namespace store
