"""help(crninv) is useful: every public name has a docstring, every method
and property of the classes too, and the examples in them run."""

import doctest
import importlib.util
import inspect
import pydoc

import crninv


def test_every_public_name_is_documented():
    for name in crninv.__all__:
        item = getattr(crninv, name)
        assert (item.__doc__ or "").strip(), name
        if inspect.isclass(item) and not issubclass(item, BaseException):
            for member, value in vars(item).items():
                if member.startswith("_") or not (callable(value) or isinstance(value, property)):
                    continue
                assert (value.__doc__ or "").strip(), "%s.%s" % (name, member)


def test_help_names_the_analyses():
    text = pydoc.render_doc(crninv, renderer=pydoc.plaintext)
    for name in ("invariants", "semiflows", "conserved_moieties", "from_cobra", "read_sbml",
                 "structure", "siphons", "covering", "KeyboardInterrupt"):
        assert name in text


def test_examples_in_the_docstrings():
    finder = doctest.DocTestFinder(exclude_empty=True)
    runner = doctest.DocTestRunner(optionflags=doctest.ELLIPSIS)
    tests = finder.find(crninv, "crninv", globs={"crninv": crninv})
    names = ["invariants", "semiflows", "conserved_moieties", "structure"]
    if importlib.util.find_spec("cobra"):
        names.append("from_cobra")
    for name in names:
        tests += finder.find(getattr(crninv, name), name, globs={"crninv": crninv})
    examples = 0
    for test in tests:
        examples += len(test.examples)
        runner.run(test)
    assert examples >= 10
    assert runner.failures == 0
