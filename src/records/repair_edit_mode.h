#pragma once

// What a repair order editor is opened for; the numbers are the ones the commands pass.
enum class RepairEditMode {
    New = 0,  // 新增: a new repair with the next repair code
    Edit = 1, // 修改: the current repair of the opener's list
};
