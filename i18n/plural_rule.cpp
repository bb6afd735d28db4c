#include "i18n/plural_rule.h"

#include <cctype>
#include <optional>

namespace lumvrex {

// One operation of the expression. Operands are at most three (the
// conditional); a leaf is n or a number.
struct PluralRule::Node
{
    enum class Op {
        N,
        Number,
        Not,
        Mul,
        Div,
        Mod,
        Add,
        Sub,
        Less,
        LessEq,
        Greater,
        GreaterEq,
        Equal,
        NotEqual,
        And,
        Or,
        Conditional
    };
    Op op = Op::Number;
    unsigned long number = 0;
    std::unique_ptr<Node> a, b, c;

    unsigned long eval(unsigned long n) const
    {
        switch (op) {
        case Op::N:
            return n;
        case Op::Number:
            return number;
        case Op::Not:
            return !a->eval(n);
        case Op::Mul:
            return a->eval(n) * b->eval(n);
        case Op::Div: {
            const unsigned long divisor = b->eval(n);
            return divisor == 0 ? 0 : a->eval(n) / divisor;
        }
        case Op::Mod: {
            const unsigned long divisor = b->eval(n);
            return divisor == 0 ? 0 : a->eval(n) % divisor;
        }
        case Op::Add:
            return a->eval(n) + b->eval(n);
        case Op::Sub:
            return a->eval(n) - b->eval(n);
        case Op::Less:
            return a->eval(n) < b->eval(n);
        case Op::LessEq:
            return a->eval(n) <= b->eval(n);
        case Op::Greater:
            return a->eval(n) > b->eval(n);
        case Op::GreaterEq:
            return a->eval(n) >= b->eval(n);
        case Op::Equal:
            return a->eval(n) == b->eval(n);
        case Op::NotEqual:
            return a->eval(n) != b->eval(n);
        case Op::And:
            return a->eval(n) && b->eval(n);
        case Op::Or:
            return a->eval(n) || b->eval(n);
        case Op::Conditional:
            return a->eval(n) ? b->eval(n) : c->eval(n);
        }
        return 0;
    }
};

namespace {

using Node = PluralRule::Node;
using NodePtr = std::unique_ptr<Node>;

NodePtr makeNode(Node::Op op, NodePtr a = nullptr, NodePtr b = nullptr, NodePtr c = nullptr)
{
    auto node = std::make_unique<Node>();
    node->op = op;
    node->a = std::move(a);
    node->b = std::move(b);
    node->c = std::move(c);
    return node;
}

// Recursive descent over C's precedence levels. Depth is bounded so that a
// broken catalogue cannot exhaust the stack.
class Parser
{
public:
    explicit Parser(std::string_view text)
        : m_text(text)
    { }

    NodePtr parseAll()
    {
        NodePtr root = conditional();
        skipBlanks();
        if (!root || m_pos != m_text.size())
            return nullptr;
        return root;
    }

private:
    static constexpr int kMaxDepth = 64;

    void skipBlanks()
    {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
    }

    bool take(std::string_view token)
    {
        skipBlanks();
        if (m_text.substr(m_pos, token.size()) != token)
            return false;
        m_pos += token.size();
        return true;
    }

    // "<" but not "<=", "!" but not "!=".
    bool takeAlone(char c, char notFollowedBy)
    {
        skipBlanks();
        if (m_pos >= m_text.size() || m_text[m_pos] != c)
            return false;
        if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == notFollowedBy)
            return false;
        ++m_pos;
        return true;
    }

    NodePtr conditional()
    {
        if (++m_depth > kMaxDepth)
            return nullptr;
        NodePtr condition = logicalOr();
        if (condition && take("?")) {
            NodePtr whenTrue = conditional();
            if (!whenTrue || !take(":"))
                return nullptr;
            NodePtr whenFalse = conditional();
            if (!whenFalse)
                return nullptr;
            condition = makeNode(Node::Op::Conditional, std::move(condition), std::move(whenTrue),
                                 std::move(whenFalse));
        }
        --m_depth;
        return condition;
    }

    template <typename Next, typename Match> NodePtr leftAssociative(Next next, Match match)
    {
        NodePtr left = (this->*next)();
        while (left) {
            const auto op = (this->*match)();
            if (!op)
                break;
            NodePtr right = (this->*next)();
            if (!right)
                return nullptr;
            left = makeNode(*op, std::move(left), std::move(right));
        }
        return left;
    }

    std::optional<Node::Op> matchOr() { return take("||") ? std::optional(Node::Op::Or) : std::nullopt; }
    std::optional<Node::Op> matchAnd() { return take("&&") ? std::optional(Node::Op::And) : std::nullopt; }
    std::optional<Node::Op> matchEquality()
    {
        if (take("=="))
            return Node::Op::Equal;
        if (take("!="))
            return Node::Op::NotEqual;
        return std::nullopt;
    }
    std::optional<Node::Op> matchRelation()
    {
        if (take("<="))
            return Node::Op::LessEq;
        if (take(">="))
            return Node::Op::GreaterEq;
        if (takeAlone('<', '='))
            return Node::Op::Less;
        if (takeAlone('>', '='))
            return Node::Op::Greater;
        return std::nullopt;
    }
    std::optional<Node::Op> matchSum()
    {
        if (take("+"))
            return Node::Op::Add;
        if (take("-"))
            return Node::Op::Sub;
        return std::nullopt;
    }
    std::optional<Node::Op> matchProduct()
    {
        if (take("*"))
            return Node::Op::Mul;
        if (take("/"))
            return Node::Op::Div;
        if (take("%"))
            return Node::Op::Mod;
        return std::nullopt;
    }

    NodePtr logicalOr() { return leftAssociative(&Parser::logicalAnd, &Parser::matchOr); }
    NodePtr logicalAnd() { return leftAssociative(&Parser::equality, &Parser::matchAnd); }
    NodePtr equality() { return leftAssociative(&Parser::relation, &Parser::matchEquality); }
    NodePtr relation() { return leftAssociative(&Parser::sum, &Parser::matchRelation); }
    NodePtr sum() { return leftAssociative(&Parser::product, &Parser::matchSum); }
    NodePtr product() { return leftAssociative(&Parser::unary, &Parser::matchProduct); }

    NodePtr unary()
    {
        if (takeAlone('!', '=')) {
            if (++m_depth > kMaxDepth)
                return nullptr;
            NodePtr operand = unary();
            --m_depth;
            return operand ? makeNode(Node::Op::Not, std::move(operand)) : nullptr;
        }
        return primary();
    }

    NodePtr primary()
    {
        if (take("(")) {
            NodePtr inner = conditional();
            return inner && take(")") ? std::move(inner) : nullptr;
        }
        if (take("n"))
            return makeNode(Node::Op::N);
        skipBlanks();
        const std::size_t start = m_pos;
        unsigned long value = 0;
        while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9') {
            value = value * 10 + static_cast<unsigned long>(m_text[m_pos] - '0');
            ++m_pos;
        }
        if (m_pos == start)
            return nullptr;
        auto node = makeNode(Node::Op::Number);
        node->number = value;
        return node;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_depth = 0;
};

} // namespace

PluralRule::PluralRule()
    : PluralRule(makeNode(Node::Op::NotEqual, makeNode(Node::Op::N), makeNode(Node::Op::Number)))
{
    m_root->b->number = 1;
}

PluralRule::PluralRule(std::unique_ptr<Node> root)
    : m_root(std::move(root))
{ }

PluralRule::~PluralRule() = default;
PluralRule::PluralRule(PluralRule &&) noexcept = default;
PluralRule &PluralRule::operator=(PluralRule &&) noexcept = default;

std::optional<PluralRule> PluralRule::parse(std::string_view expression)
{
    NodePtr root = Parser(expression).parseAll();
    if (!root)
        return std::nullopt;
    return PluralRule(std::move(root));
}

unsigned long PluralRule::formFor(unsigned long n) const
{
    return m_root->eval(n);
}

} // namespace lumvrex
