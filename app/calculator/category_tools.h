#pragma once

#include <string>

// The tool windows' models as the main frame sees them: told when a category is shown or left
// and when the program closes (so they load and save their files), and asked to keep the
// result of a matrix evaluation.
class CategoryTools {
public:
    virtual ~CategoryTools() = default;
    virtual void categoryShown(int category) = 0;
    virtual void categoryLeft(int category) = 0;
    // After a matrix-mode evaluation that gave a matrix: the text the display shows for it.
    virtual std::u16string keepMatrixResult() = 0;
    virtual void closing() = 0;
};
