"""The lab tour notebook runs clean from start to end and draws its sweep map."""

import nbclient
import nbformat

from conftest import DOCS


def test_the_lab_tour_runs_clean(tmp_path):
    notebook = nbformat.read(DOCS / "lab-tour.ipynb", as_version=4)
    # In a scratch folder: the notebook saves its map into the working directory.
    nbclient.NotebookClient(notebook, timeout=120, kernel_name="python3",
                            resources={"metadata": {"path": str(tmp_path)}}).execute()
    errors = [output for cell in notebook.cells if cell.cell_type == "code"
              for output in cell.outputs if output.output_type == "error"]
    assert not errors
    assert (tmp_path / "lab-tour.png").stat().st_size > 10_000
