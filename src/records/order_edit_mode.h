#pragma once

// What the customer order editor is opened for; the numbers are the ones the commands pass.
enum class OrderEditMode {
    New = 0,      // 新增: a new order with the next code
    Edit = 1,     // 修改: customer, purchase and goods lines of an order nobody was sent to yet
    Dispatch = 2, // 派工: choosing the installer
    Complete = 3, // 完工: wage, opinion and result; lowers stock once
};
