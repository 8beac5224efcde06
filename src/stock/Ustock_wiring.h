#pragma once

namespace ts {

class Tmain;

// Products, product types, warehouses and suppliers: their forms in the
// registry and the 基本数据 entries that open them.
void wireStockForms(Tmain& main);

} // namespace ts
