// sorvanel-cli groups PATH: the group tree, one node per line, indented two
// blanks per level: ID, kind, State, title and the largest record key,
// separated by tabs.
#include "cli_account.h"
#include "cli_command.h"

#include "base/prompt.h"
#include "groups/group_node.h"
#include "document/account_file.h"

namespace {

QString KindName(int nodeKind) {
  switch (nodeKind) {
  case NK_FOLDER:
    return QStringLiteral("筛选器");
  case NK_GROUP:
    return QStringLiteral("组");
  default:
    return QString::number(nodeKind);
  }
}

void PrintNode(const GroupNode &node, int depth) {
  const QString indent(2 * depth, QLatin1Char(' '));
  PrintLine(indent + QStringList{QString::number(node.id),
                                 KindName(node.nodeKind),
                                 QString::number(node.state), node.title,
                                 QString::number(node.largestKey)}
                         .join(QLatin1Char('\t')));
  for (const auto &child : node.children)
    PrintNode(*child, depth + 1);
}

int RunGroups(const QStringList &args) {
  if (args.size() != 1) {
    ShowUsage("groups");
    return 1;
  }
  AccountFile file;
  if (!OpenForReading(file, args[0]))
    return 1;
  for (const auto &child : file.Root().children)
    PrintNode(*child, 0);
  return 0;
}

} // namespace

SORVANEL_CLI_COMMAND("groups", "groups PATH", RunGroups);
