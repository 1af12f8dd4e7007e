#pragma once

class MessageService;
class QTableView;
class ResultSet;

// Keeps a table grid's selected row and a result set's cursor together: every move of the
// cursor selects its row in the grid, and a row the user picks in the grid (mouse or keys)
// moves the cursor there, which reports the move like any other. Errors of the reaction to
// the move are shown by the program's error handling. Binding the same grid twice is
// harmless.
void linkGridToCursor(QTableView* grid, ResultSet& rs, MessageService& ui);
